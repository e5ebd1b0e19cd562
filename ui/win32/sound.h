// Sounds for the Windows binding: RIFF WAVE files held in memory, played through the system's
// wave output, each on a stream of its own so that sounds overlap.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace wt::win32 {

class SoundOutput {  // any thread
  public:
    SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;
    ~SoundOutput();  // stops what still plays

    // Returns at once; sounds overlap. A file that is not integer PCM WAVE, or a machine
    // without an audio output, plays nothing (the latter said once on stderr).
    void play(std::span<const std::uint8_t> waveFile);

    // Sounds started and not yet finished (for tests).
    std::size_t playing() const;

  private:
    struct Playback;
    void run();
    void start(Playback& p);
    void silent(const char* why);

    // play() only queues; one thread of ours makes every wave output call: it opens the
    // streams (the first open loads the driver, which takes a while) and closes finished ones
    // (the output's callback may not).
    std::mutex mutex_;
    std::list<Playback> queued_;
    bool stopping_ = false;
    std::atomic<std::size_t> playing_{0};
    HANDLE wake_ = nullptr;  // set by play(), the destructor and the wave output
    bool warned_ = false;    // worker thread only
    int devices_ = -1;       // worker thread only: unknown until the first sound
    std::thread worker_;
};

}  // namespace wt::win32
