// The real stream layer on generated files, played through SDL's dummy audio
// driver (which consumes samples in real time).

#include "platform/music_stream.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
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

TEST_F(MusicStreamTest, PositionTracksWallTimeAndGoesOnPastTheEnd) {
    // Mono at another rate: converted, the position counts device frames.
    MusicStream* stream = system.openFile(writeTone("short.wav", 1.0, 22050, 1).c_str());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(system.getLengthMs(stream), 1000);
    const int channel = system.play(stream, true);
    using Clock = std::chrono::steady_clock;
    system.setPaused(channel, false);
    const Clock::time_point start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    double worst = 0.0;
    // Each read lies between two wall readings: a pause of this thread around it is not drift.
    for (double before = 0.0; before <= 2.0; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        before = elapsed();
        const double position = system.getTime(stream) * 0.001;
        worst = std::max({worst, before - position, position - elapsed()});
    }
    system.setPaused(channel, true);
    std::printf("stream drift against wall time: %.4f s\n", worst);
    EXPECT_LT(worst, 0.1);
    EXPECT_GT(system.getTime(stream), 1800);  // well past the 1 s of music
}

}  // namespace
}  // namespace demo::platform
