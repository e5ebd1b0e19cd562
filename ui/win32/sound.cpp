#include "ui/win32/sound.h"

#include <mmsystem.h>

#include <cstdio>

#include "ui/media/wave.h"

namespace wt::win32 {

struct SoundOutput::Playback {
    std::vector<std::uint8_t> samples;  // a copy: the caller's bytes may go away
    WAVEFORMATEX format{};
    HWAVEOUT out = nullptr;
    WAVEHDR header{};
};

SoundOutput::SoundOutput() : wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    if (wake_) worker_ = std::thread([this] { run(); });
}

SoundOutput::~SoundOutput() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (worker_.joinable()) {
        SetEvent(wake_);
        worker_.join();
    }
    if (wake_) CloseHandle(wake_);
}

void SoundOutput::play(std::span<const std::uint8_t> waveFile) {
    const auto wave = decode::parseWave(waveFile);
    if (!wave || wave->data.empty() || wave->data.size() > 0x7fffffff || !worker_.joinable())
        return;
    Playback p;
    p.samples.assign(wave->data.begin(), wave->data.end());
    p.format.wFormatTag = WAVE_FORMAT_PCM;
    p.format.nChannels = WORD(wave->channels);
    p.format.nSamplesPerSec = DWORD(wave->sampleRate);
    p.format.wBitsPerSample = WORD(wave->bitsPerSample);
    p.format.nBlockAlign = WORD(wave->blockAlign);
    p.format.nAvgBytesPerSec = p.format.nSamplesPerSec * p.format.nBlockAlign;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        queued_.push_back(std::move(p));
        ++playing_;
    }
    SetEvent(wake_);
}

std::size_t SoundOutput::playing() const {
    return playing_;
}

void SoundOutput::silent(const char* why) {
    if (!warned_) std::fprintf(stderr, "wiring-trainer: sounds are silent: %s\n", why);
    warned_ = true;
}

// Opens a stream for `p` and hands it its samples; on failure `p` stays without a stream.
void SoundOutput::start(Playback& p) {
    if (devices_ < 0) devices_ = int(waveOutGetNumDevs());
    if (devices_ == 0) return silent("no audio output device");
    if (waveOutOpen(&p.out, WAVE_MAPPER, &p.format, DWORD_PTR(wake_), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        p.out = nullptr;
        return silent("the audio output does not open");
    }
    p.header.lpData = reinterpret_cast<LPSTR>(p.samples.data());
    p.header.dwBufferLength = DWORD(p.samples.size());
    if (waveOutPrepareHeader(p.out, &p.header, sizeof(p.header)) == MMSYSERR_NOERROR) {
        if (waveOutWrite(p.out, &p.header, sizeof(p.header)) == MMSYSERR_NOERROR) return;
        waveOutUnprepareHeader(p.out, &p.header, sizeof(p.header));
    }
    waveOutClose(p.out);
    p.out = nullptr;
}

void SoundOutput::run() {
    std::list<Playback> active;
    for (;;) {
        // The output signals the same event when a stream opens and when a buffer is done;
        // the timeout guards against a driver that signals less often than it should.
        WaitForSingleObject(wake_, active.empty() ? INFINITE : 200);
        bool stopping = false;
        {
            std::lock_guard lock(mutex_);
            active.splice(active.end(), queued_);
            stopping = stopping_;
        }
        for (auto it = active.begin(); it != active.end();) {
            if (!it->out && !stopping) start(*it);
            if (it->out && stopping) waveOutReset(it->out);  // marks the buffer done
            if (it->out && !(it->header.dwFlags & WHDR_DONE)) {
                ++it;
                continue;
            }
            if (it->out) {
                waveOutUnprepareHeader(it->out, &it->header, sizeof(it->header));
                waveOutClose(it->out);
            }
            it = active.erase(it);
            --playing_;
        }
        if (stopping) return;
    }
}

}  // namespace wt::win32
