#pragma once
// The clock that follows the music: performance-counter time, pulled back to
// the stream's playing position whenever the two differ by more than 0.1 s.

#include <string>

#include "manager/clock.h"
#include "platform/music_stream.h"

namespace demo {

// The clock's message for a stream layer error code.
const char* fmodErrorText(int code);

class MusicPlayer : public Clock {
public:
    // Opens the music and leaves it paused at its start; throws
    // ExceptionBase (source "manager/musicplayer") on any failure, having
    // released what it acquired.
    // Plays through platform::musicSystem().
    explicit MusicPlayer(const std::string& fileName);
    ~MusicPlayer() override;

    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    void start(float t) override;
    void stop() override;
    float getTime() override;
    float getEnd() override;

    float frequency() const { return frequency_; }
    float lengthMs() const { return length_; }

private:
    platform::MusicSystem& system_;
    platform::MusicStream* stream_ = nullptr;
    int channel_ = -1;
    float frequency_ = 0.0f;
    float length_ = 0.0f;
    float offset_ = 0.0f;  // show seconds minus counter seconds
    // Show seconds minus stream seconds: 0 unless the show started past the
    // music's end, where the stream stops at its length.
    float shift_ = 0.0f;
    // A show that starts before 0 keeps the music paused until time 0.
    bool waitingForZero_ = false;
};

}  // namespace demo
