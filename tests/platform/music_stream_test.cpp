// The real stream layer on generated files, played through SDL's dummy audio
// driver, or its disk driver where what was played is checked (both consume
// samples in real time).

#include "platform/music_stream.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace demo::platform {
namespace {

std::string scratchPath(const std::string& name) {
    return (test::scratchRoot() / ("music_stream_" + name)).string();
}

// A WAV (16-bit unless said otherwise) of a sine tone.
std::string writeTone(const std::string& name, double seconds, int rate, int channels,
                      int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
    std::string path = scratchPath(name);
    SF_INFO info{.frames = 0, .samplerate = rate, .channels = channels, .format = format, .sections = 0, .seekable = 0};
    const auto frames = static_cast<sf_count_t>(seconds * rate);
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.25f * static_cast<float>(std::sin((i / channels) * 440.0 * 6.2832 / rate));
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file != nullptr) {
        sf_writef_float(file, samples.data(), frames);
        sf_close(file);
    }
    return path;
}

class MusicStreamTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(system.init(44100, 1, 0)) << system.getError(); }
    void TearDown() override { system.close(); }

    MusicSystem& system = musicSystem();
};

TEST_F(MusicStreamTest, FailedOpensReportTheirErrors) {
    EXPECT_FALSE(system.init(44100, 1, 0));
    EXPECT_EQ(system.getError(), kMusicAlreadyInitialised);
    const std::string junk = scratchPath("junk.wav"), cut = writeTone("cut.wav", 1.0, 44100, 2);
    std::ofstream(junk) << "this is not a sound file at all, only some text";
    std::filesystem::resize_file(cut, 32);  // a WAV header cut short
    // The decoder decides the cut header's error: any but none.
    const std::pair<std::string, int> opens[] = {
        {scratchPath("missing.wav"), kMusicFileNotFound}, {junk, kMusicBadFormat}, {cut, kMusicOk}};
    for (const auto& [path, error] : opens) {
        EXPECT_EQ(system.openFile(path.c_str()), nullptr);
        EXPECT_TRUE(error == kMusicOk ? system.getError() != kMusicOk : system.getError() == error) << path;
    }
}

TEST_F(MusicStreamTest, AStreamOfUnknownLengthStillSeeks) {
    // A cut Ogg file: the decoder cannot tell its length and reports the
    // largest frame count.
    std::string path = writeTone("cut.ogg", 3.0, 44100, 2, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    MusicStream* stream = system.openFile(path.c_str());
    ASSERT_NE(stream, nullptr) << system.getError();
    EXPECT_GT(system.getLengthMs(stream), 1000);
    system.play(stream, true);
    system.setTime(stream, 40000);
    EXPECT_EQ(system.getTime(stream), 40000);
    system.closeStream(stream);
}

TEST_F(MusicStreamTest, OneStreamPlaysWithClampedSampleAccurateSeeks) {
    const std::string path = writeTone("seek.wav", 1.5, 44100, 2);
    MusicStream *stream = system.openFile(path.c_str()), *second = system.openFile(path.c_str());
    ASSERT_TRUE(stream != nullptr && second != nullptr);
    const int channel = system.play(stream, true);
    ASSERT_EQ(channel, 0);
    EXPECT_EQ(system.play(second, true), -1);
    EXPECT_EQ(system.getError(), kMusicNoChannel);
    EXPECT_EQ(system.getLengthMs(stream), 1500);
    for (auto [seek, position] : {std::pair{1234, 1234}, {1, 1}, {999, 999}, {1499, 1499}, {-250, 0}, {99999, 1500}}) {
        system.setTime(stream, seek);
        EXPECT_EQ(system.getTime(stream), position) << seek;
    }
    // Paused: the position holds.
    system.setTime(stream, 700);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(system.getTime(stream), 700);

    system.closeStream(stream);  // frees the channel
    EXPECT_EQ(system.play(second, true), 0);
}

// SDL's disk driver plays in real time like the dummy one, and writes every
// buffer it plays to a file. The file's size is what the device consumed, seen
// apart from the stream: a machine too busy to run the audio thread on time
// slows both alike, so only a wrong position falls outside the bounds.
class MusicStreamOnDiskTest : public MusicStreamTest {
  protected:
    void SetUp() override {
        if (const char* driver = std::getenv("SDL_AUDIODRIVER")) oldDriver = driver;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
        MusicStreamTest::SetUp();
    }
    void TearDown() override {
        MusicStreamTest::TearDown();
        setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
        std::filesystem::remove(played);
    }
    // Seconds of float stereo at 44.1 kHz in the file (silence before the stream plays too).
    double playedSeconds() const { return std::filesystem::file_size(played) / (8 * 44100.0); }

    const std::string played = scratchPath("played.raw");
    std::string oldDriver = "dummy";
};

TEST_F(MusicStreamOnDiskTest, PositionCountsWhatTheDevicePlayedAndGoesOnPastTheEnd) {
    // Mono at another rate: converted, the position counts device frames.
    MusicStream* stream = system.openFile(writeTone("short.wav", 1.0, 22050, 1).c_str());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(system.getLengthMs(stream), 1000);
    const int channel = system.play(stream, true);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    // The stream starts between these two sizes. A buffer handed over is
    // counted before it is written: a read may lead the file by one (23 ms).
    const double playedBeforeStart = playedSeconds();
    system.setPaused(channel, false);
    const double playedAfterStart = playedSeconds();
    // A busy machine may run the device late for a while, not all the time:
    // somewhere it plays in real time for half a second or more.
    std::vector<std::pair<double, double>> reads;  // wall time before a size read, and the size
    double position = 0.0, worst = 0.0, fastest = 0.0;
    for (double played = 0.0; (played < 2.0 || fastest < 0.8) && elapsed() < 20.0;) {
        const double wall = elapsed(), size = playedSeconds();
        const double previous = position;
        position = system.getTime(stream) * 0.001;
        const double sizeAfter = playedSeconds(), wallAfter = elapsed();
        played = size - playedAfterStart;
        worst = std::max({worst, played - position, position - (sizeAfter - playedBeforeStart)});
        ASSERT_GE(position, previous);
        // Nor can the device play ahead of real time (its period is rounded down to whole ms).
        ASSERT_LE(position, wallAfter * 1.02 + 0.05);
        reads.emplace_back(wall, size);
        for (const auto& [then, sizeThen] : reads) {
            if (wallAfter - then < 0.5) break;
            fastest = std::max(fastest, (sizeAfter - sizeThen) / (wallAfter - then));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("stream position against what the device played: %.4f s; device speed at best: %.3f\n",
                worst, fastest);
    EXPECT_LT(worst, 0.05);
    EXPECT_GE(fastest, 0.8);
    EXPECT_GT(position, 1.8);  // well past the 1 s of music
    // Paused, it holds while the device plays on.
    system.setPaused(channel, true);
    const int held = system.getTime(stream);
    for (const double mark = playedSeconds(); playedSeconds() < mark + 0.1 && elapsed() < 30.0;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(system.getTime(stream), held);
}

}  // namespace
}  // namespace demo::platform
