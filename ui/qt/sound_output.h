// One-shot playback of RIFF/WAVE files held in memory, through SDL2_mixer (audio subsystem
// only). Every call returns at once and takes a mixer channel of its own, so sounds started one
// right after the other play together. Without a usable audio device the output stays silent
// and says so once on stderr. Callable from any thread: SDL calls are serialised.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "resources/media_blob.h"
#include "ui/media/wave.h"

struct Mix_Chunk;

namespace wt::qt {

class SoundOutput {
  public:
    static constexpr int kFrequency = 48000;
    static constexpr int kChannels = 16;

    SoundOutput() = default;
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Opens the device now instead of at the first sound; on a thread of its own so that the
    // caller does not wait for the audio driver. Sounds are converted to the device's format
    // when first played.
    void openInBackground();
    // Starts one playback of the blob's WAVE. A blob that is not a valid WAVE plays nothing.
    void play(MediaRef wave);

    // Whether a device is open (opens it on first use).
    bool available();
    // Sounds playing right now.
    int playing();

  private:
    struct Mixer;  // the functions of SDL2_mixer, loaded with the device's first opening
    static const Mixer* loadMixer(std::string& why);
    bool openLocked();
    Mix_Chunk* chunkLocked(MediaRef wave);
    Mix_Chunk* loadLocked(const decode::WaveInfo& info, std::span<const std::uint8_t> file);

    std::mutex mutex_;
    bool tried_ = false;  // an open was attempted (it is not retried)
    bool open_ = false;
    const Mixer* mix_ = nullptr;  // set while open_
    struct {
        int rate = 0;
        std::uint16_t format = 0;  // SDL_AudioFormat
        int channels = 0;
    } device_;                                          // as opened
    std::map<const std::uint8_t*, Mix_Chunk*> chunks_;  // null: refused, not retried
    std::thread opener_;
};

}  // namespace wt::qt
