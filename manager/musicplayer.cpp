#include "manager/musicplayer.h"

#include <cmath>
#include <cstdio>

#include "manager/exceptions.h"
#include "manager/parameters.h"
#include "manager/source_location.h"
#include "manager/timer_base.h"

namespace demo {
namespace {

constexpr const char* kUnit = "manager/musicplayer";
constexpr source::Location kWrongVersion{kUnit, 10};
constexpr source::Location kInitFailed{kUnit, 13};
constexpr source::Location kCannotFind{kUnit, 22};
constexpr source::Location kOpenFailed{kUnit, 27};
constexpr source::Location kPlayFailed{kUnit, 32};

constexpr float kRequiredVersion = 3.5f;
constexpr int kMixRate = 44100;
constexpr int kBufferMilliseconds = 50;
constexpr double kResyncThreshold = 0.1;  // seconds
// Float times carry rounding: a gap of exactly 0.1 s can come out a few ulps
// above it (1.1f - 1.0f). Far below the stream's 1 ms steps.
constexpr double kRoundingMargin = 1e-4;

[[noreturn]] void fail(const std::string& message, source::Location where) {
    throw ExceptionBase(message, where.unit, where.line);
}

float counterSeconds() { return static_cast<float>(secondsSinceStart()); }

}  // namespace

const char* fmodErrorText(int code) {
    switch (code) {
        case 0: return "No errors";
        case 1: return "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.";
        case 2: return "This command failed because FSOUND_Init was not called";
        case 3: return "Error initializing output device.";
        case 4: return "The output device is already in use and cannot be reused.";
        case 5: return "Playing the sound failed.";
        case 6:
            return "Soundcard does not support the features needed for this soundsystem (16bit "
                   "stereo output)";
        case 7: return "Error setting cooperative level for hardware.";
        case 8: return "Error creating hardware sound buffer.";
        case 9: return "File not found";
        case 10: return "Unknown file format";
        case 11: return "Error loading file";
        case 12: return "Not enough memory ";
        case 13: return "The version number of this file format is not supported";
        case 14: return "An invalid parameter was passed to this function";
        case 15: return "Tried to use an EAX command on a non EAX enabled channel or output.";
        case 16: return "Failed to allocate a new channel";
        case 17: return "Recording not supported on this device";
        case 18: return "Required Mediaplayer codec is not installed";
        default: return "Unknown error";
    }
}

MusicPlayer::MusicPlayer(const std::string& fileName) : system_(platform::musicSystem()) {
    float version = system_.version();
    if (!(version >= kRequiredVersion)) {  // also refuses NaN
        fail("Error : You are using the wrong version of fmod DLL!", kWrongVersion);
    }
    if (!system_.init(kMixRate, 1, 0)) {
        int error = system_.getError();
        system_.close();
        fail(fmodErrorText(error), kInitFailed);
    }
    system_.setBufferSize(kBufferMilliseconds);

    // The stream layer opens the file by path, so the data archives play no
    // part: test the disk.
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        system_.close();
        fail("Cannot find " + fileName + ".", kCannotFind);
    }
    std::fclose(file);

    stream_ = system_.openFile(fileName.c_str());
    if (stream_ == nullptr) {
        int error = system_.getError();
        system_.close();
        fail(fmodErrorText(error), kOpenFailed);
    }
    channel_ = system_.play(stream_, true);
    if (channel_ == -1) {
        int error = system_.getError();
        system_.close();  // also closes the stream
        fail(fmodErrorText(error), kPlayFailed);
    }
    frequency_ = static_cast<float>(system_.getFrequency(channel_));
    length_ = static_cast<float>(system_.getLengthMs(stream_));
}

MusicPlayer::~MusicPlayer() {
    system_.closeStream(stream_);
    system_.close();
}

// The stream clamps seeks to [0, length], but the show's time must not be
// clamped with it: before 0 the music waits, past its end the stream plays
// silence and the clock runs on from the requested time.
void MusicPlayer::start(float t) {
    waitingForZero_ = t < 0.0f;
    // Times beyond the int range saturate.
    system_.setTime(stream_, waitingForZero_ ? 0 : truncateToInt(t * 1000.0));
    system_.setPaused(channel_, waitingForZero_);
    float c = counterSeconds();
    float s = static_cast<float>(system_.getTime(stream_) * 0.001);
    shift_ = waitingForZero_ ? 0.0f : t - s;
    offset_ = t - c;
}

void MusicPlayer::stop() {
    waitingForZero_ = false;
    system_.setPaused(channel_, true);
}

float MusicPlayer::getTime() {
    float c = counterSeconds();
    float estimate = c + offset_;
    if (waitingForZero_) {
        if (estimate < 0.0f) return estimate;
        // The music starts now, at the show time it has reached.
        waitingForZero_ = false;
        system_.setPaused(channel_, false);
        shift_ = estimate;
        return estimate;
    }
    float s = static_cast<float>(system_.getTime(stream_) * 0.001) + shift_;
    // Resynchronise only on a real drift; the estimate of this call stands,
    // the next call follows the stream.
    double gap = std::fabs(static_cast<double>(s) - static_cast<double>(estimate));
    if (gap > kResyncThreshold + kRoundingMargin) offset_ = s - c;
    return estimate;
}

float MusicPlayer::getEnd() { return kClockNoEnd; }

}  // namespace demo
