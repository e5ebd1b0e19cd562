// libFuzzer entry: any bytes through the PNG header check and decoder, in both pixel formats.
#include <cstddef>
#include <cstdint>

#include "ui/media/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    (void)wt::decode::readPngHeader(bytes);
    (void)wt::decode::decodePng(bytes, wt::decode::PixelFormat::Rgb8);
    (void)wt::decode::decodePng(bytes, wt::decode::PixelFormat::Rgba8);
    (void)wt::decode::decodePng(bytes, wt::decode::PixelFormat::Argb32);
    return 0;
}
