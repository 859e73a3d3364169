// The two clocks: the music player's logic against a fake stream and a fake
// counter, then against the real stream under SDL's dummy audio driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "manager/exceptions.h"
#include "manager/musicplayer.h"
#include "manager/silent_timer.h"
#include "manager/timer_base.h"
#include "platform/performance_counter.h"

namespace demo {
namespace {

// A counter that moves only when told, 2^20 ticks per second so that whole
// and binary-fraction seconds are exact.
constexpr std::int64_t kTicksPerSecond = std::int64_t{1} << 20;
std::int64_t fakeTicks = 0;
std::int64_t fakeValue() { return fakeTicks; }
std::int64_t fakeFrequency() { return kTicksPerSecond; }
void setCounterSeconds(double seconds) {
    fakeTicks = static_cast<std::int64_t>(seconds * kTicksPerSecond);
}

std::string scratchPath(const std::string& name) {
    const char* dir = std::getenv("DEMO_TEST_TMP");
    return std::string(dir != nullptr ? dir : "/tmp") + "/" + name;
}

std::string writeFile(const std::string& name, const std::string& bytes) {
    std::string path = scratchPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    if (file != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

class FakeMusicSystem : public platform::MusicSystem {
public:
    float versionValue = 3.61f;
    bool initSucceeds = true;
    bool openSucceeds = true;
    int playChannel = 3;
    int failure = 0;  // getError after a failure
    int positionMs = 0;
    int lengthMs = 4000;

    std::vector<std::string> calls;
    std::vector<int> seeks;
    bool paused = false;

    float version() override { return versionValue; }
    bool init(int rate, int channels, unsigned flags) override {
        calls.push_back("init " + std::to_string(rate) + " " + std::to_string(channels) + " " +
                        std::to_string(flags));
        return initSucceeds;
    }
    void setBufferSize(int ms) override { calls.push_back("buffer " + std::to_string(ms)); }
    platform::MusicStream* openFile(const char*) override {
        calls.push_back("open");
        return openSucceeds ? reinterpret_cast<platform::MusicStream*>(&stream_) : nullptr;
    }
    int play(platform::MusicStream*, bool pausedStart) override {
        calls.push_back(pausedStart ? "play paused" : "play");
        paused = pausedStart;
        return playChannel;
    }
    int getFrequency(int) override { return 44100; }
    void setPan(int, int) override {}
    int getLengthMs(platform::MusicStream*) override { return lengthMs; }
    void setTime(platform::MusicStream*, int ms) override {
        seeks.push_back(ms);
        positionMs = ms;
    }
    int getTime(platform::MusicStream*) override { return positionMs; }
    void setPaused(int, bool p) override { paused = p; }
    int getError() override { return failure; }
    void closeStream(platform::MusicStream* s) override {
        if (s != nullptr) calls.push_back("close stream");
    }
    void close() override { calls.push_back("close"); }

private:
    int stream_ = 0;
};

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setCounterSource(fakeValue, fakeFrequency);
        fakeTicks = 0;
        initTimerBase();
        music = writeFile(std::string("clock_music_") +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name(),
                          "present");
    }
    void TearDown() override { platform::setCounterSource(nullptr, nullptr); }

    // The construction failure's text and line.
    static std::pair<std::string, int> failureOf(const std::string& name, FakeMusicSystem& fake) {
        try {
            MusicPlayer player(name, fake);
        } catch (const ExceptionBase& e) {
            EXPECT_EQ(e.sourceFile(), "manager/musicplayer");
            return {e.message(), e.sourceLine()};
        }
        return {"no exception", 0};
    }

    std::string music;
    FakeMusicSystem fake;
};

TEST_F(ClockTest, ConstructionOpensPausedAtTheStartInOrder) {
    {
        MusicPlayer player(music, fake);
        EXPECT_EQ(fake.calls, (std::vector<std::string>{"init 44100 1 0", "buffer 50", "open",
                                                        "play paused"}));
        EXPECT_EQ(player.frequency(), 44100.0f);
        EXPECT_EQ(player.lengthMs(), 4000.0f);
        EXPECT_EQ(player.getEnd(), std::numeric_limits<float>::max());
        fake.calls.clear();
    }
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"close stream", "close"}));
}

TEST_F(ClockTest, EachConstructionFailureHasItsTextAndLineAndReleases) {
    fake.versionValue = 3.4f;
    EXPECT_EQ(failureOf(music, fake),
              std::make_pair(std::string("Error : You are using the wrong version of fmod DLL!"), 10));
    fake.versionValue = std::nanf("");
    EXPECT_EQ(failureOf(music, fake).second, 10);
    EXPECT_TRUE(fake.calls.empty());  // refused before init

    fake = FakeMusicSystem{};
    fake.initSucceeds = false;
    fake.failure = platform::kMusicInitFailed;
    EXPECT_EQ(failureOf(music, fake),
              std::make_pair(std::string("Error initializing output device."), 13));
    EXPECT_EQ(fake.calls.back(), "close");

    fake = FakeMusicSystem{};
    std::string missing = scratchPath("no_such_music.ogg");
    EXPECT_EQ(failureOf(missing, fake), std::make_pair("Cannot find " + missing + ".", 22));
    EXPECT_EQ(fake.calls.back(), "close");  // the init is not left behind

    fake = FakeMusicSystem{};
    fake.openSucceeds = false;
    fake.failure = platform::kMusicBadFormat;
    EXPECT_EQ(failureOf(music, fake), std::make_pair(std::string("Unknown file format"), 27));
    EXPECT_EQ(fake.calls.back(), "close");

    fake = FakeMusicSystem{};
    fake.playChannel = -1;
    fake.failure = platform::kMusicNoChannel;
    EXPECT_EQ(failureOf(music, fake),
              std::make_pair(std::string("Failed to allocate a new channel"), 32));
    EXPECT_EQ(fake.calls.back(), "close");
}

TEST_F(ClockTest, StartSeeksTruncatedMillisecondsAndPlays) {
    MusicPlayer player(music, fake);
    player.start(2.5f);
    player.start(0.0009f);
    player.start(-1.0f);
    EXPECT_EQ(fake.seeks, (std::vector<int>{2500, 0, -1000}));
    EXPECT_FALSE(fake.paused);
    player.stop();
    EXPECT_TRUE(fake.paused);
}

TEST_F(ClockTest, ResynchronisesOnlyAfterMoreThanATenthAndOneCallLate) {
    MusicPlayer player(music, fake);
    setCounterSeconds(10.0);
    player.start(0.0f);  // offset = 0 - 10

    // Exactly 0.1 ahead: no resync.
    fake.positionMs = 100;
    EXPECT_FLOAT_EQ(player.getTime(), 0.0f);
    fake.positionMs = 0;
    EXPECT_FLOAT_EQ(player.getTime(), 0.0f);

    // 0.05 s of jitter changes nothing.
    setCounterSeconds(11.0);
    fake.positionMs = 1050;
    EXPECT_FLOAT_EQ(player.getTime(), 1.0f);
    fake.positionMs = 950;
    EXPECT_FLOAT_EQ(player.getTime(), 1.0f);

    // 0.2 s: this call still returns the old estimate, the next the new one.
    fake.positionMs = 1200;
    EXPECT_FLOAT_EQ(player.getTime(), 1.0f);
    EXPECT_FLOAT_EQ(player.getTime(), 1.2f);

    // A frozen stream: time follows the counter until the gap passes 0.1 s.
    setCounterSeconds(11.0 + 0.0625);
    EXPECT_FLOAT_EQ(player.getTime(), 1.2625f);
    setCounterSeconds(11.25);
    EXPECT_FLOAT_EQ(player.getTime(), 1.45f);  // resyncs to 1.2
    EXPECT_FLOAT_EQ(player.getTime(), 1.2f);
}

TEST_F(ClockTest, SilentTimerRunsHoldsAndRestarts) {
    SilentTimer timer;
    EXPECT_EQ(timer.getTime(), 0.0f);
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(timer.getEnd(), std::numeric_limits<float>::max());

    setCounterSeconds(2.0);
    timer.start(5.0f);
    setCounterSeconds(3.5);
    EXPECT_FLOAT_EQ(timer.getTime(), 6.5f);
    timer.stop();
    setCounterSeconds(9.0);
    EXPECT_FLOAT_EQ(timer.getTime(), 6.5f);
    EXPECT_FLOAT_EQ(timer.getTime(), 6.5f);
    timer.start(1.0f);
    setCounterSeconds(9.25);
    EXPECT_FLOAT_EQ(timer.getTime(), 1.25f);
}

// A 16-bit stereo PCM WAV of silence.
std::string wavBytes(double seconds) {
    const std::uint32_t rate = 44100, frames = static_cast<std::uint32_t>(seconds * rate);
    const std::uint32_t dataBytes = frames * 4;
    std::string out;
    auto u32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&out](std::uint16_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>(v >> 8));
    };
    out += "RIFF";
    u32(36 + dataBytes);
    out += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    out += "data";
    u32(dataBytes);
    out.append(dataBytes, '\0');
    return out;
}

class RealMusicClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setCounterSource(nullptr, nullptr);
        initTimerBase();
    }
};

TEST_F(RealMusicClockTest, FollowsWallTimePastTheEndOfAShortStream) {
    std::string path = writeFile("clock_real.wav", wavBytes(1.0));
    MusicPlayer player(path);
    EXPECT_EQ(player.lengthMs(), 1000.0f);
    using Wall = std::chrono::steady_clock;
    player.start(0.5f);
    Wall::time_point start = Wall::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Wall::now() - start).count(); };
    double worst = 0.0;
    float last = 0.0f;
    for (double before = 0.0; before <= 2.5;) {
        // The read happened somewhere between the two wall readings, so a
        // pause of this thread around it is not counted as drift.
        before = elapsed();
        last = player.getTime();
        double after = elapsed();
        worst = std::max({worst, 0.5 + before - last, last - (0.5 + after)});
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    player.stop();
    std::printf("music clock drift against wall time: %.6f s\n", worst);
    // The clock takes on the device's position once they differ by more than
    // a tenth; on a loaded machine the dummy device can fall that far behind
    // for a moment, so allow the threshold and one such stall.
    EXPECT_LT(worst, 0.25);
    EXPECT_GT(last, 2.75f);  // well past the end of the one-second music
}

TEST_F(RealMusicClockTest, AFileTheStreamCannotReadFailsAtOpen) {
    std::string path = writeFile("clock_junk.mp9", "no sound in here, only words");
    try {
        MusicPlayer player(path);
        FAIL() << "opened a text file";
    } catch (const ExceptionBase& e) {
        EXPECT_EQ(e.message(), "Unknown file format");
        EXPECT_EQ(e.sourceLine(), 27);
    }
    // Everything was released: a player opens again.
    MusicPlayer again(writeFile("clock_again.wav", wavBytes(0.1)));
}

}  // namespace
}  // namespace demo
