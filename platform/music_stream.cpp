#include "platform/music_stream.h"

#include <SDL.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

namespace demo::platform {

struct MusicStream {
    SNDFILE* file = nullptr;
    SF_INFO info{};
    SDL_AudioStream* converter = nullptr;  // file format -> device format
    int lengthMs = 0;
    bool sourceEnded = false;               // file read to its end
    std::vector<float> readBuffer;          // one decode chunk, file channels
    std::atomic<std::int64_t> position{0};  // frames handed to the device

    ~MusicStream() {
        if (converter != nullptr) SDL_FreeAudioStream(converter);
        if (file != nullptr) sf_close(file);
    }
};

namespace {

constexpr int kDeviceChannels = 2;
constexpr int kDeviceFrames = 1024;  // about 23 ms at 44.1 kHz
constexpr int kPlayChannel = 0;      // the one stream that plays

class SdlMusicSystem : public MusicSystem {
public:
    ~SdlMusicSystem() override { close(); }

    float version() override { return kMusicSystemVersion; }

    bool init(int mixRate, int /*maxChannels*/, unsigned /*flags*/) override {
        if (device_ != 0) return failWith(kMusicAlreadyInitialised);
        if (mixRate <= 0) return failWith(kMusicInvalidParameter);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return failWith(kMusicInitFailed);
        SDL_AudioSpec wanted{};
        wanted.freq = mixRate;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = kDeviceChannels;
        wanted.samples = kDeviceFrames;
        wanted.callback = &SdlMusicSystem::fill;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        // No changes allowed: SDL converts, so the position counts frames at mixRate.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device_ == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return failWith(kMusicInitFailed);
        }
        mixRate_ = mixRate;
        SDL_PauseAudioDevice(device_, 0);  // silence until a stream plays
        return true;
    }

    void setBufferSize(int milliseconds) override {
        if (milliseconds > 0) chunkMilliseconds_ = milliseconds;
    }

    MusicStream* openFile(const char* path) override {
        if (device_ == 0) return failNull(kMusicNotInitialised);
        if (path == nullptr) return failNull(kMusicInvalidParameter);
        auto stream = std::make_unique<MusicStream>();
        errno = 0;
        stream->file = sf_open(path, SFM_READ, &stream->info);
        if (stream->file == nullptr) return failNull(openError(sf_error(nullptr)));
        const SF_INFO& info = stream->info;
        if (info.samplerate <= 0 || info.channels <= 0 || info.channels > 8 || info.frames < 0) {
            return failNull(kMusicBadFormat);
        }
        stream->converter = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(info.channels),
                                               info.samplerate, AUDIO_F32SYS, kDeviceChannels,
                                               mixRate_);
        if (stream->converter == nullptr) return failNull(kMusicBadFormat);
        stream->lengthMs = lengthMilliseconds(info.frames, info.samplerate);
        std::int64_t chunk =
            std::max<std::int64_t>(256, std::int64_t{info.samplerate} * chunkMilliseconds_ / 1000);
        stream->readBuffer.resize(static_cast<size_t>(chunk * info.channels));
        streams_.push_back(std::move(stream));
        error_ = kMusicOk;
        return streams_.back().get();
    }

    int play(MusicStream* stream, bool paused) override {
        if (!owns(stream)) return failWith(kMusicInvalidParameter), -1;
        SDL_LockAudioDevice(device_);
        bool busy = playing_ != nullptr && playing_ != stream;
        if (!busy) {
            playing_ = stream;
            paused_ = paused;
        }
        SDL_UnlockAudioDevice(device_);
        if (busy) return failWith(kMusicNoChannel), -1;
        return kPlayChannel;
    }

    int getFrequency(int channel) override {
        if (channel != kPlayChannel || device_ == 0) return failWith(kMusicInvalidParameter), 0;
        return mixRate_;
    }

    int getLengthMs(MusicStream* stream) override { return owns(stream) ? stream->lengthMs : 0; }

    void setTime(MusicStream* stream, int milliseconds) override {
        if (!owns(stream)) return;
        int ms = std::clamp(milliseconds, 0, stream->lengthMs);
        // Round up to whole frames, so that the position then reads back as ms.
        std::int64_t outputFrame = (std::int64_t{ms} * mixRate_ + 999) / 1000;
        auto sourceFrame = static_cast<sf_count_t>(
            (std::int64_t{ms} * stream->info.samplerate + 999) / 1000);
        sourceFrame = std::min<sf_count_t>(sourceFrame, stream->info.frames);
        SDL_LockAudioDevice(device_);
        bool seeked = sf_seek(stream->file, sourceFrame, SEEK_SET) >= 0;
        SDL_AudioStreamClear(stream->converter);
        stream->sourceEnded = !seeked || sourceFrame >= stream->info.frames;
        stream->position.store(outputFrame);
        SDL_UnlockAudioDevice(device_);
    }

    int getTime(MusicStream* stream) override {
        if (!owns(stream)) return 0;
        std::int64_t ms = stream->position.load() * 1000 / mixRate_;
        return static_cast<int>(std::min<std::int64_t>(ms, INT_MAX));
    }

    void setPaused(int channel, bool paused) override {
        if (channel != kPlayChannel || device_ == 0) return;
        SDL_LockAudioDevice(device_);
        paused_ = paused;
        SDL_UnlockAudioDevice(device_);
    }

    int getError() override { return error_; }

    void closeStream(MusicStream* stream) override {
        auto found = std::find_if(streams_.begin(), streams_.end(),
                                  [stream](const auto& s) { return s.get() == stream; });
        if (stream == nullptr || found == streams_.end()) return;
        SDL_LockAudioDevice(device_);
        if (playing_ == stream) playing_ = nullptr;
        SDL_UnlockAudioDevice(device_);
        streams_.erase(found);
    }

    void close() override {
        if (device_ == 0) return;
        SDL_CloseAudioDevice(device_);  // joins the audio thread
        device_ = 0;
        playing_ = nullptr;
        streams_.clear();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    bool failWith(int code) {
        error_ = code;
        return false;
    }
    MusicStream* failNull(int code) {
        error_ = code;
        return nullptr;
    }

    // A stream whose length the decoder cannot tell (a truncated file)
    // reports the largest frame count: its length is then "as long as an int
    // can say", and a seek past the real end finds silence.
    static int lengthMilliseconds(sf_count_t frames, int rate) {
        const std::int64_t seconds = frames / rate;
        if (seconds >= INT_MAX / 1000) return INT_MAX;
        return static_cast<int>(seconds * 1000 + (frames % rate) * 1000 / rate);
    }

    static int openError(int sndfileError) {
        switch (sndfileError) {
            case SF_ERR_SYSTEM: return errno == ENOENT ? kMusicFileNotFound : kMusicFileError;
            case SF_ERR_UNRECOGNISED_FORMAT:
            case SF_ERR_UNSUPPORTED_ENCODING: return kMusicBadFormat;
            default: return kMusicFileError;
        }
    }

    bool owns(const MusicStream* stream) const {
        if (stream == nullptr || device_ == 0) return false;
        return std::any_of(streams_.begin(), streams_.end(),
                           [stream](const auto& s) { return s.get() == stream; });
    }

    // Audio thread, with the device lock held.
    static void SDLCALL fill(void* userdata, Uint8* bytes, int length) {
        auto* self = static_cast<SdlMusicSystem*>(userdata);
        MusicStream* stream = self->playing_;
        if (stream == nullptr || self->paused_) {
            SDL_memset(bytes, 0, static_cast<size_t>(length));
            return;
        }
        const int frameBytes = kDeviceChannels * static_cast<int>(sizeof(float));
        int produced = 0;
        while (produced < length) {
            int got = SDL_AudioStreamGet(stream->converter, bytes + produced, length - produced);
            if (got > 0) {
                produced += got;
                continue;
            }
            if (got < 0 || stream->sourceEnded) break;
            decodeChunk(*stream);
        }
        // Past the end of the music: silence, and the position goes on.
        if (produced < length) SDL_memset(bytes + produced, 0, static_cast<size_t>(length - produced));
        stream->position.fetch_add(length / frameBytes);
    }

    static void decodeChunk(MusicStream& stream) {
        sf_count_t frames = static_cast<sf_count_t>(stream.readBuffer.size()) / stream.info.channels;
        sf_count_t read = sf_readf_float(stream.file, stream.readBuffer.data(), frames);
        if (read <= 0) {
            SDL_AudioStreamFlush(stream.converter);
            stream.sourceEnded = true;
            return;
        }
        int bytes = static_cast<int>(read * stream.info.channels * static_cast<sf_count_t>(sizeof(float)));
        if (SDL_AudioStreamPut(stream.converter, stream.readBuffer.data(), bytes) != 0) {
            stream.sourceEnded = true;
        }
    }

    SDL_AudioDeviceID device_ = 0;
    int mixRate_ = 44100;
    int chunkMilliseconds_ = 50;
    int error_ = kMusicOk;
    std::vector<std::unique_ptr<MusicStream>> streams_;
    MusicStream* playing_ = nullptr;  // guarded by the device lock
    bool paused_ = true;              // guarded by the device lock
};

}  // namespace

MusicSystem& MusicSystem::real() {
    static SdlMusicSystem system;
    return system;
}

}  // namespace demo::platform
