// libFuzzer entry: any bytes through the RIFF/WAVE parser; an accepted data span must lie inside
// the input and hold whole frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/media/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto info = wt::decode::parseWave({data, size});
    if (!info) return 0;
    const std::uint8_t* begin = info->data.data();
    if (begin < data || begin + info->data.size() > data + size) std::abort();
    if (info->data.size() % info->blockAlign != 0) std::abort();
    return 0;
}
