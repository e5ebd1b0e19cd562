// libFuzzer entry: any bytes through the GIF structure check; an accepted file must be consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/media/gif_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto info = wt::decode::inspectGif({data, size});
    if (info && (info->frameCount() < 1 || info->width < 1 || info->height < 1)) std::abort();
    return 0;
}
