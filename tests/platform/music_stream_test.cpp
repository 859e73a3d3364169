// The real stream layer on generated files, played through SDL's dummy audio
// driver (which consumes samples in real time).

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/music_stream.h"

namespace demo::platform {
namespace {

std::string scratchPath(const std::string& name) {
    const char* dir = std::getenv("DEMO_TEST_TMP");
    return std::string(dir != nullptr ? dir : "/tmp") + "/music_stream_" + name;
}

// A sine tone of the given length.
std::string writeTone(const std::string& name, double seconds, int rate, int channels) {
    std::string path = scratchPath(name);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file == nullptr) return path;
    auto frames = static_cast<sf_count_t>(seconds * rate);
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (sf_count_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            samples[static_cast<size_t>(i * channels + c)] =
                0.25f * static_cast<float>(std::sin(i * 440.0 * 6.283185307 / rate));
        }
    }
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return path;
}

class MusicStreamTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(system.init(44100, 1, 0)) << system.getError(); }
    void TearDown() override { system.close(); }

    MusicSystem& system = musicSystem();
};

TEST(MusicSystemLifecycle, CallsOutsideInitReportTheirErrors) {
    MusicSystem& system = musicSystem();
    EXPECT_EQ(system.openFile(scratchPath("none.wav").c_str()), nullptr);
    EXPECT_EQ(system.getError(), kMusicNotInitialised);
    ASSERT_TRUE(system.init(44100, 1, 0));
    EXPECT_FALSE(system.init(44100, 1, 0));
    EXPECT_EQ(system.getError(), kMusicAlreadyInitialised);
    system.close();
    // Closed cleanly: it can start again.
    ASSERT_TRUE(system.init(44100, 1, 0));
    system.close();
}

TEST_F(MusicStreamTest, OpenFailuresMapToTheirCodes) {
    EXPECT_EQ(system.openFile(scratchPath("missing.wav").c_str()), nullptr);
    EXPECT_EQ(system.getError(), kMusicFileNotFound);

    std::string junk = scratchPath("junk.wav");
    std::FILE* file = std::fopen(junk.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("this is not a sound file at all, only some text", file);
    std::fclose(file);
    EXPECT_EQ(system.openFile(junk.c_str()), nullptr);
    EXPECT_EQ(system.getError(), kMusicBadFormat);

    // A WAV header promising data that is not there.
    std::string cut = writeTone("cut.wav", 1.0, 44100, 2);
    std::vector<char> bytes(64);
    file = std::fopen(cut.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    file = std::fopen(cut.c_str(), "wb");
    std::fwrite(bytes.data(), 1, got / 2, file);
    std::fclose(file);
    EXPECT_EQ(system.openFile(cut.c_str()), nullptr);
    EXPECT_NE(system.getError(), kMusicOk);
}

TEST_F(MusicStreamTest, LengthFrequencyAndClampedSampleAccurateSeeks) {
    MusicStream* stream = system.openFile(writeTone("seek.wav", 1.5, 44100, 2).c_str());
    ASSERT_NE(stream, nullptr);
    int channel = system.play(stream, true);
    ASSERT_EQ(channel, 0);
    EXPECT_EQ(system.getFrequency(channel), 44100);
    EXPECT_EQ(system.getLengthMs(stream), 1500);
    EXPECT_EQ(system.getTime(stream), 0);

    for (int ms : {1234, 1, 999, 1499}) {
        system.setTime(stream, ms);
        EXPECT_EQ(system.getTime(stream), ms);
    }
    system.setTime(stream, -250);
    EXPECT_EQ(system.getTime(stream), 0);
    system.setTime(stream, 99999);
    EXPECT_EQ(system.getTime(stream), 1500);

    // Paused: the position holds.
    system.setTime(stream, 700);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(system.getTime(stream), 700);
}

TEST_F(MusicStreamTest, OnlyOneStreamPlaysAtATime) {
    std::string path = writeTone("two.wav", 0.2, 44100, 1);
    MusicStream* first = system.openFile(path.c_str());
    MusicStream* second = system.openFile(path.c_str());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(system.play(first, true), 0);
    EXPECT_EQ(system.play(second, true), -1);
    EXPECT_EQ(system.getError(), kMusicNoChannel);
    system.closeStream(first);
    EXPECT_EQ(system.play(second, true), 0);
}

// Plays `stream` for `seconds` of wall time and returns the largest
// difference seen between the stream position and the wall clock.
double playAndMeasureDrift(MusicSystem& system, MusicStream* stream, int channel, double seconds) {
    using Clock = std::chrono::steady_clock;
    system.setTime(stream, 0);
    system.setPaused(channel, false);
    Clock::time_point start = Clock::now();
    double worst = 0.0;
    for (;;) {
        double wall = std::chrono::duration<double>(Clock::now() - start).count();
        if (wall > seconds) break;
        double position = system.getTime(stream) * 0.001;
        worst = std::max(worst, std::fabs(position - wall));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    system.setPaused(channel, true);
    return worst;
}

TEST_F(MusicStreamTest, PositionTracksWallTimeAndGoesOnPastTheEnd) {
    MusicStream* stream = system.openFile(writeTone("short.wav", 1.0, 44100, 2).c_str());
    ASSERT_NE(stream, nullptr);
    int channel = system.play(stream, true);
    double drift = playAndMeasureDrift(system, stream, channel, 2.0);
    std::printf("stream drift against wall time: %.4f s\n", drift);
    EXPECT_LT(drift, 0.1);
    EXPECT_GT(system.getTime(stream), 1800);  // well past the 1 s of music
}

TEST_F(MusicStreamTest, OtherRatesAndMonoPlayAtTheDeviceRate) {
    MusicStream* stream = system.openFile(writeTone("mono22k.wav", 0.5, 22050, 1).c_str());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(system.getLengthMs(stream), 500);
    int channel = system.play(stream, true);
    system.setTime(stream, 250);
    EXPECT_EQ(system.getTime(stream), 250);
    double drift = playAndMeasureDrift(system, stream, channel, 0.8);
    EXPECT_LT(drift, 0.1);
}

}  // namespace
}  // namespace demo::platform
