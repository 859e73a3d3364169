#pragma once
// The music stream layer: the few calls the clock makes to play one stream
// and read its position. `MusicSystem` is the interface; the real one
// decodes with libsndfile and plays through an SDL audio device at 44,100 Hz
// stereo.
//
// Positions are in milliseconds of output: the number of frames handed to
// the audio device so far. Seeks are sample-accurate and clamp to
// [0, length]. Past the end of the file the stream plays silence and its
// position keeps advancing, so a clock that follows it never stalls.

#include "platform/replaceable.h"

namespace demo::platform {

// Error codes of the layer, as `getError` reports them.
enum MusicError : int {
    kMusicOk = 0,
    kMusicAlreadyInitialised = 1,
    kMusicNotInitialised = 2,
    kMusicInitFailed = 3,
    kMusicPlayFailed = 5,
    kMusicFileNotFound = 9,
    kMusicBadFormat = 10,
    kMusicFileError = 11,
    kMusicNoMemory = 12,
    kMusicInvalidParameter = 14,
    kMusicNoChannel = 16,
};

struct MusicStream;  // an open stream; owned by the system that opened it

class MusicSystem {
public:
    virtual ~MusicSystem() = default;

    virtual float version() = 0;
    // Opens the output device. Returns false on failure (see getError).
    virtual bool init(int mixRate, int maxChannels, unsigned flags) = 0;
    // Device buffer length, used by streams opened afterwards.
    virtual void setBufferSize(int milliseconds) = 0;
    // Null on failure.
    virtual MusicStream* openFile(const char* path) = 0;
    // Starts the stream on a channel, paused or not; the channel or -1.
    virtual int play(MusicStream* stream, bool paused) = 0;
    virtual int getFrequency(int channel) = 0;
    virtual int getLengthMs(MusicStream* stream) = 0;
    virtual void setTime(MusicStream* stream, int milliseconds) = 0;
    virtual int getTime(MusicStream* stream) = 0;
    virtual void setPaused(int channel, bool paused) = 0;
    // The code of the last failure.
    virtual int getError() = 0;
    virtual void closeStream(MusicStream* stream) = 0;
    // Closes the device and every stream still open.
    virtual void close() = 0;

    // The process-wide real system.
    static MusicSystem& real();
};

// The layer's own version.
inline constexpr float kMusicSystemVersion = 3.5f;

// The system in use; tests replace it with replaceMusicSystem.
inline MusicSystem& musicSystem() { return Replaceable<MusicSystem>::current(); }
inline void replaceMusicSystem(MusicSystem* fake) { Replaceable<MusicSystem>::replace(fake); }

}  // namespace demo::platform
