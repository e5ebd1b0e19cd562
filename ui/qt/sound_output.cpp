#include "ui/qt/sound_output.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <type_traits>

#include "resources/resident.h"
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

// SDL2_mixer brings SDL and some forty audio and codec libraries with it, megabytes of the
// process once they are mapped and relocated. They are loaded when the device is first opened,
// after the first window that plays sounds has been drawn, not at start-up: the menu plays none.
// The headers give the types; the functions come from the loaded library and its dependencies.
struct SoundOutput::Mixer {
    decltype(&SDL_SetHint) setHint = nullptr;
    decltype(&SDL_InitSubSystem) initSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) quitSubSystem = nullptr;
    decltype(&SDL_GetError) getError = nullptr;
    decltype(&SDL_RWFromConstMem) rwFromConstMem = nullptr;
    decltype(&Mix_OpenAudio) openAudio = nullptr;
    decltype(&Mix_AllocateChannels) allocateChannels = nullptr;
    decltype(&Mix_LoadWAV_RW) loadWav = nullptr;
    decltype(&Mix_PlayChannelTimed) playChannelTimed = nullptr;  // Mix_PlayChannel is a macro
    decltype(&Mix_Playing) playing = nullptr;
    decltype(&Mix_HaltChannel) haltChannel = nullptr;
    decltype(&Mix_FreeChunk) freeChunk = nullptr;
    decltype(&Mix_CloseAudio) closeAudio = nullptr;
    decltype(&Mix_QuerySpec) querySpec = nullptr;
    decltype(&Mix_QuickLoad_RAW) quickLoadRaw = nullptr;
    decltype(&SDL_NewAudioStream) newStream = nullptr;
    decltype(&SDL_AudioStreamPut) streamPut = nullptr;
    decltype(&SDL_AudioStreamGet) streamGet = nullptr;
    decltype(&SDL_AudioStreamFlush) streamFlush = nullptr;
    decltype(&SDL_FreeAudioStream) freeStream = nullptr;
    decltype(&SDL_malloc) malloc = nullptr;
    decltype(&SDL_free) free = nullptr;
};

// The loaded library, or null (with the reason in `why`) when it or one of its functions is
// missing. Loaded once; the library stays loaded for the life of the process.
const SoundOutput::Mixer* SoundOutput::loadMixer(std::string& why) {
    static std::string failure;
    static const Mixer* const loaded = []() -> const Mixer* {
        void* lib = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr) {
            const char* error = dlerror();
            failure = error != nullptr ? error : "libSDL2_mixer-2.0.so.0 not found";
            return nullptr;
        }
        static Mixer m;
        bool all = true;
        const auto get = [&](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            if (fn == nullptr && all) {
                all = false;
                failure = std::string("no ") + name + " in libSDL2_mixer-2.0.so.0";
            }
        };
        get(m.setHint, "SDL_SetHint");
        get(m.initSubSystem, "SDL_InitSubSystem");
        get(m.quitSubSystem, "SDL_QuitSubSystem");
        get(m.getError, "SDL_GetError");
        get(m.rwFromConstMem, "SDL_RWFromConstMem");
        get(m.openAudio, "Mix_OpenAudio");
        get(m.allocateChannels, "Mix_AllocateChannels");
        get(m.loadWav, "Mix_LoadWAV_RW");
        get(m.playChannelTimed, "Mix_PlayChannelTimed");
        get(m.playing, "Mix_Playing");
        get(m.haltChannel, "Mix_HaltChannel");
        get(m.freeChunk, "Mix_FreeChunk");
        get(m.closeAudio, "Mix_CloseAudio");
        get(m.querySpec, "Mix_QuerySpec");
        get(m.quickLoadRaw, "Mix_QuickLoad_RAW");
        get(m.newStream, "SDL_NewAudioStream");
        get(m.streamPut, "SDL_AudioStreamPut");
        get(m.streamGet, "SDL_AudioStreamGet");
        get(m.streamFlush, "SDL_AudioStreamFlush");
        get(m.freeStream, "SDL_FreeAudioStream");
        get(m.malloc, "SDL_malloc");
        get(m.free, "SDL_free");
        return all ? &m : nullptr;
    }();
    why = failure;
    return loaded;
}

SoundOutput::~SoundOutput() {
    if (opener_.joinable()) opener_.join();
    std::lock_guard lock(mutex_);
    if (!open_) return;
    mix_->haltChannel(-1);
    for (auto& [blob, chunk] : chunks_)
        if (chunk != nullptr) mix_->freeChunk(chunk);
    chunks_.clear();
    mix_->closeAudio();
    mix_->quitSubSystem(SDL_INIT_AUDIO);
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
    std::string why;
    const Mixer* mix = loadMixer(why);
    if (mix == nullptr) {
        std::fprintf(stderr, "wiring-trainer: no audio library, sounds are off (%s)\n",
                     why.c_str());
        return false;
    }
    // The program has its own event loop; SDL must not take over SIGINT/SIGTERM.
    mix->setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quietAlsa();
    const auto silent = [mix] {
        std::fprintf(stderr, "wiring-trainer: no audio device, sounds are off (%s)\n",
                     mix->getError());
        return false;
    };
    if (mix->initSubSystem(SDL_INIT_AUDIO) != 0) return silent();
    if (mix->openAudio(kFrequency, AUDIO_S16SYS, 2, 2048) != 0) {
        const bool none = silent();
        mix->quitSubSystem(SDL_INIT_AUDIO);
        return none;
    }
    mix->allocateChannels(kChannels);
    mix->querySpec(&device_.rate, &device_.format, &device_.channels);
    mix_ = mix;
    open_ = true;
    return true;
}

Mix_Chunk* SoundOutput::chunkLocked(MediaRef wave) {
    if (auto it = chunks_.find(wave.blob); it != chunks_.end()) return it->second;
    Mix_Chunk* chunk = nullptr;
    const auto file = mediaFile(wave);
    if (const auto info = file ? decode::parseWave(*file) : decode::Decoded<decode::WaveInfo>{};
        info)
        chunk = loadLocked(*info, *file);
    chunks_.emplace(wave.blob, chunk);
    return chunk;
}

Mix_Chunk* SoundOutput::loadLocked(const decode::WaveInfo& info,
                                   std::span<const std::uint8_t> file) {
    // The samples are little-endian integers; SDL has no 24-bit format.
    const SDL_AudioFormat format = info.bitsPerSample == 8    ? AUDIO_U8
                                   : info.bitsPerSample == 16 ? AUDIO_S16LSB
                                   : info.bitsPerSample == 32 ? AUDIO_S32LSB
                                                              : 0;
    const std::size_t bytes = info.frames() * static_cast<std::size_t>(info.blockAlign);
    if (format == 0 || bytes == 0 || bytes > INT32_MAX) {
        SDL_RWops* rw = mix_->rwFromConstMem(file.data(), static_cast<int>(file.size()));
        return rw != nullptr ? mix_->loadWav(rw, 1) : nullptr;
    }
    auto* samples = const_cast<Uint8*>(info.data.data());  // only read by the mixer
    if (format == device_.format && info.channels == device_.channels &&
        info.sampleRate == device_.rate)
        // Already in the device's format: played from the program's own bytes, nothing copied.
        return mix_->quickLoadRaw(samples, static_cast<Uint32>(bytes));

    // Converted through an audio stream in pieces, into a buffer of the converted size. (The
    // mixer's own loader converts in one buffer sized for the largest step of the conversion:
    // four times the converted sound for a 44.1 kHz file played at 48 kHz, held for as long as
    // the sound is kept.)
    SDL_AudioStream* stream =
        mix_->newStream(format, static_cast<Uint8>(info.channels), info.sampleRate, device_.format,
                        static_cast<Uint8>(device_.channels), device_.rate);
    if (stream == nullptr) return nullptr;
    const std::size_t outFrame =
        static_cast<std::size_t>(SDL_AUDIO_BITSIZE(device_.format) / 8 * device_.channels);
    // The resampler may give a few frames more than the ratio; the margin takes them.
    const std::size_t room = (info.frames() * static_cast<std::size_t>(device_.rate) /
                                  static_cast<std::size_t>(info.sampleRate) +
                              64) *
                             outFrame;
    auto* out = static_cast<Uint8*>(mix_->malloc(room));
    std::size_t have = 0;
    bool ok = out != nullptr;
    constexpr std::size_t kPiece = 64 * 1024;
    const auto drain = [&] {
        for (;;) {
            const int got = mix_->streamGet(stream, out + have, static_cast<int>(room - have));
            if (got < 0) ok = false;
            if (got <= 0) return;
            have += static_cast<std::size_t>(got);
        }
    };
    for (std::size_t at = 0; ok && at < bytes; at += kPiece) {
        const std::size_t n = std::min(kPiece, bytes - at);
        ok = mix_->streamPut(stream, samples + at, static_cast<int>(n)) == 0;
        drain();
    }
    if (ok) ok = mix_->streamFlush(stream) == 0;
    if (ok) drain();
    mix_->freeStream(stream);
    releasePages(file);  // converted: the file's bytes are not read again
    Mix_Chunk* chunk =
        ok && have > 0 ? mix_->quickLoadRaw(out, static_cast<Uint32>(have)) : nullptr;
    if (chunk == nullptr) {
        mix_->free(out);
        return nullptr;
    }
    chunk->allocated = 1;  // Mix_FreeChunk frees the buffer with SDL_free
    return chunk;
}

void SoundOutput::play(MediaRef wave) {
    if (wave.empty()) return;
    std::lock_guard lock(mutex_);
    if (!openLocked()) return;
    if (Mix_Chunk* chunk = chunkLocked(wave)) mix_->playChannelTimed(-1, chunk, 0, -1);
}

bool SoundOutput::available() {
    std::lock_guard lock(mutex_);
    return openLocked();
}

int SoundOutput::playing() {
    std::lock_guard lock(mutex_);
    return open_ ? mix_->playing(-1) : 0;
}

}  // namespace wt::qt
