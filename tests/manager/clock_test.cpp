// The two clocks against a fake stream and a fake counter; the real stream's
// timing is the stream layer's test, and the real clock's the program's.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "manager/exceptions.h"
#include "manager/musicplayer.h"
#include "manager/silent_timer.h"
#include "manager/timer_base.h"
#include "tests/support/error_of.h"
#include "tests/support/fake_counter.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

// 2^20 counter ticks per second, so that whole and binary-fraction seconds
// are exact.
constexpr std::int64_t kTicksPerSecond = std::int64_t{1} << 20;

std::string writeFile(const std::string& name, const std::string& bytes) {
    std::string path = (test::scratchRoot() / ("clock_" + name)).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

using Calls = std::vector<std::string>;

class FakeMusicSystem : public platform::MusicSystem {
  public:
    float versionValue = 3.61f;
    bool initSucceeds = true, openSucceeds = true, paused = false;
    int playChannel = 3, failure = 0, positionMs = 0;  // failure: getError after a failure
    Calls calls;
    std::vector<int> seeks;

    float version() override { return versionValue; }
    bool init(int rate, int channels, unsigned flags) override {
        calls.push_back("init " + std::to_string(rate) + " " + std::to_string(channels) + " " + std::to_string(flags));
        return initSucceeds;
    }
    void setBufferSize(int ms) override { calls.push_back("buffer " + std::to_string(ms)); }
    platform::MusicStream* openFile(const char*) override {
        calls.push_back("open");
        return openSucceeds ? reinterpret_cast<platform::MusicStream*>(this) : nullptr;
    }
    int play(platform::MusicStream*, bool pausedStart) override {
        calls.push_back(pausedStart ? "play paused" : "play");
        paused = pausedStart;
        return playChannel;
    }
    int getFrequency(int) override { return 44100; }
    int getLengthMs(platform::MusicStream*) override { return 4000; }
    // Seeks clamp to the stream's 4 s, as the real stream's do.
    void setTime(platform::MusicStream*, int ms) override {
        seeks.push_back(ms);
        positionMs = std::clamp(ms, 0, 4000);
    }
    int getTime(platform::MusicStream*) override { return positionMs; }
    void setPaused(int, bool p) override { paused = p; }
    int getError() override { return failure; }
    void closeStream(platform::MusicStream* s) override {
        if (s != nullptr) calls.push_back("close stream");
    }
    void close() override { calls.push_back("close"); }
};

class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::replaceMusicSystem(&fake);
        initTimerBase();
        music = writeFile(::testing::UnitTest::GetInstance()->current_test_info()->name(), "x");
    }
    void TearDown() override { platform::replaceMusicSystem(nullptr); }
    void setCounterSeconds(double seconds) { counter.ticks = static_cast<std::int64_t>(seconds * kTicksPerSecond); }

    std::string music;
    test::FakeCounter counter{kTicksPerSecond};
    FakeMusicSystem fake;
};

TEST_F(ClockTest, OpensPausedSeeksTruncatedMillisecondsAndCloses) {
    {
        MusicPlayer player(music);
        EXPECT_EQ(fake.calls, (Calls{"init 44100 1 0", "buffer 50", "open", "play paused"}));
        for (float t : {2.5f, 0.0009f, -1.0f, 9.0f}) player.start(t);
        EXPECT_EQ(fake.seeks, (std::vector<int>{2500, 0, 0, 9000}));
        EXPECT_FALSE(fake.paused);
        player.stop();
        EXPECT_TRUE(fake.paused);
        fake.calls.clear();
    }
    EXPECT_EQ(fake.calls, (Calls{"close stream", "close"}));
}

TEST_F(ClockTest, EachConstructionFailureHasItsTextAndLineAndReleases) {
    const std::string missing = music + ".missing", version = "Error : You are using the wrong version of fmod DLL!";
    const struct {
        std::function<void(FakeMusicSystem&)> arrange;
        std::string file, message;
        int line;
    } cases[] = {
        {[](auto& f) { f.versionValue = 3.4f; }, music, version, 10},
        {[](auto& f) { f.initSucceeds = false, f.failure = platform::kMusicInitFailed; }, music,
         "Error initializing output device.", 13},
        {[](auto&) {}, missing, "Cannot find " + missing + ".", 22},
        {[](auto& f) { f.openSucceeds = false, f.failure = platform::kMusicBadFormat; }, music,
         "Unknown file format", 27},
        {[](auto& f) { f.playChannel = -1, f.failure = platform::kMusicNoChannel; }, music,
         "Failed to allocate a new channel", 32},
    };
    for (const auto& c : cases) {
        FakeMusicSystem system;
        c.arrange(system);
        platform::replaceMusicSystem(&system);
        EXPECT_EQ(test::printedErrorOf([&] { MusicPlayer player(c.file); }),
                  "manager/musicplayer L" + std::to_string(c.line) + ": " + c.message);
        // Refused before init, or the init is not left behind.
        EXPECT_EQ(system.calls.empty() ? "" : system.calls.back(), c.line == 10 ? "" : "close") << c.message;
    }
}

TEST_F(ClockTest, ResynchronisesOnlyAfterMoreThanATenthAndOneCallLate) {
    MusicPlayer player(music);
    setCounterSeconds(10.0), player.start(0.0f);  // offset = 0 - 10
    // Exactly 0.1 either way, and 0.05 of jitter, change nothing.
    for (auto [counter, ms, time] :
         {std::tuple{10.0, 100, 0.0f}, {11.0, 1100, 1.0f}, {11.0, 1050, 1.0f}, {11.0, 950, 1.0f}, {11.0, 900, 1.0f}}) {
        setCounterSeconds(counter), fake.positionMs = ms;
        EXPECT_FLOAT_EQ(player.getTime(), time) << ms;
    }
    // 0.2 s: this call still returns the old estimate, the next the new one.
    fake.positionMs = 1200;
    EXPECT_FLOAT_EQ(player.getTime(), 1.0f);
    EXPECT_FLOAT_EQ(player.getTime(), 1.2f);
    // A frozen stream: time follows the counter until the gap passes 0.1 s.
    setCounterSeconds(11.0625);
    EXPECT_FLOAT_EQ(player.getTime(), 1.2625f);
    setCounterSeconds(11.25);
    EXPECT_FLOAT_EQ(player.getTime(), 1.45f);  // resyncs to 1.2
    EXPECT_FLOAT_EQ(player.getTime(), 1.2f);
}

TEST_F(ClockTest, StartsBeforeZeroOrPastTheMusicsEndKeepTheShowsTime) {
    MusicPlayer player(music);
    // Past the 4 s of music: the stream stops at its end, the show runs on.
    setCounterSeconds(1.0), player.start(40.0f);
    setCounterSeconds(2.0), fake.positionMs = 5000;  // the stream's silence goes on after its end
    EXPECT_FLOAT_EQ(player.getTime(), 41.0f);
    EXPECT_FLOAT_EQ(player.getTime(), 41.0f);  // no resync to the stream's 5 s

    // Before 0: the music waits, paused at its start, until the show reaches 0.
    setCounterSeconds(10.0), player.start(-2.0f);
    for (auto [seconds, time, paused] : {std::tuple{11.0, -1.0f, true}, {12.0, 0.0f, false}, {13.0, 1.0f, false}}) {
        setCounterSeconds(seconds), fake.positionMs = seconds == 13.0 ? 1000 : fake.positionMs;
        EXPECT_FLOAT_EQ(player.getTime(), time);
        EXPECT_EQ(fake.paused, paused) << seconds;
    }
    EXPECT_FLOAT_EQ(player.getTime(), 1.0f);
}

TEST_F(ClockTest, SilentTimerRunsHoldsAndRestarts) {
    SilentTimer timer;
    EXPECT_TRUE(!timer.running && timer.getTime() == 0.0f);
    setCounterSeconds(2.0), timer.start(5.0f);
    setCounterSeconds(3.5), timer.stop();
    setCounterSeconds(9.0);
    EXPECT_EQ(timer.getTime(), 6.5f);  // held since the stop
    timer.start(1.0f), setCounterSeconds(9.25);
    EXPECT_EQ(timer.getTime(), 1.25f);
}

}  // namespace
}  // namespace demo
