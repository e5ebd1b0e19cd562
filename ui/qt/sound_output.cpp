#include "ui/qt/sound_output.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <cstdio>

#include "ui/media/wave.h"

namespace wt::qt {
namespace {

void sayNothing(const char*, int, const char*, int, const char*, ...) {}

// ALSA reports every failed probe of a missing device on stderr through its own error handler
// (eight lines on a machine without sound). The library is loaded with SDL; its handler is set
// to one that says nothing, so that the program's single line is all the learner's log shows.
void quietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(sayNothing);
    // The handle is kept: the library stays loaded with the handler in place.
}

}  // namespace

SoundOutput::~SoundOutput() {
    if (opener_.joinable()) opener_.join();
    std::lock_guard lock(mutex_);
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (auto& [blob, chunk] : chunks_)
        if (chunk != nullptr) Mix_FreeChunk(chunk);
    chunks_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

void SoundOutput::openInBackground() {
    std::lock_guard lock(mutex_);
    if (tried_ || opener_.joinable()) return;
    opener_ = std::thread([this] {
        std::lock_guard inner(mutex_);
        openLocked();
    });
}

bool SoundOutput::openLocked() {
    if (tried_) return open_;
    tried_ = true;
    // The program has its own event loop; SDL must not take over SIGINT/SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quietAlsa();
    const auto silent = [] {
        std::fprintf(stderr, "wiring-trainer: no audio device, sounds are off (%s)\n",
                     SDL_GetError());
        return false;
    };
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return silent();
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, 2, 2048) != 0) {
        const bool none = silent();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return none;
    }
    Mix_AllocateChannels(kChannels);
    open_ = true;
    return true;
}

Mix_Chunk* SoundOutput::chunkLocked(MediaRef wave) {
    if (auto it = chunks_.find(wave.blob); it != chunks_.end()) return it->second;
    Mix_Chunk* chunk = nullptr;
    const auto file = mediaFile(wave);
    if (file && decode::parseWave(*file)) {
        SDL_RWops* rw = SDL_RWFromConstMem(file->data(), static_cast<int>(file->size()));
        if (rw != nullptr) chunk = Mix_LoadWAV_RW(rw, 1);
    }
    chunks_.emplace(wave.blob, chunk);
    return chunk;
}

void SoundOutput::play(MediaRef wave) {
    if (wave.empty()) return;
    std::lock_guard lock(mutex_);
    if (!openLocked()) return;
    if (Mix_Chunk* chunk = chunkLocked(wave)) Mix_PlayChannel(-1, chunk, 0);
}

bool SoundOutput::available() {
    std::lock_guard lock(mutex_);
    return openLocked();
}

int SoundOutput::playing() {
    std::lock_guard lock(mutex_);
    return open_ ? Mix_Playing(-1) : 0;
}

}  // namespace wt::qt
