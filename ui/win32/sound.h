// Wave sounds for the Windows binding: several at once, silent without an audio device.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace wt::win32 {

class SoundOutput {  // any thread
  public:
    SoundOutput();
    ~SoundOutput();
    void play(std::span<const std::uint8_t> waveFile);  // returns at once; sounds overlap

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace wt::win32
