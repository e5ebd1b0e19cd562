#include "placeholders.h"

#include <gif_lib.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "synth.h"

namespace soundgen {

namespace {

// An 8-bit RGB PNG: a gradient in the given hue with a darker band whose height tells the
// variants apart.
std::vector<std::uint8_t> png(int width, int height, int hue, int band) {
    std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
            const int shade = 120 + 100 * x / width;
            const bool inBand = y > band && y < band + height / 8;
            p[0] = std::uint8_t(inBand ? 40 : (shade * ((hue >> 16) & 0xFF)) / 255);
            p[1] = std::uint8_t(inBand ? 40 : (shade * ((hue >> 8) & 0xFF)) / 255);
            p[2] = std::uint8_t(inBand ? 40 : (shade * (hue & 0xFF)) / 255);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = std::uint32_t(width);
    image.height = std::uint32_t(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    out.resize(size);
    return out;
}

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void check(int status, const char* what) {
    if (status != GIF_OK) throw std::runtime_error(std::string("giflib: ") + what);
}

// An animated GIF89a: a spoke turning once over `frames` frames of 0.1 s, looping for ever.
std::vector<std::uint8_t> gif(int width, int height, int frames, int direction) {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, appendBytes, &error);
    if (!file) throw std::runtime_error("giflib: cannot open encoder");
    GifColorType colors[4] = {{235, 235, 230}, {60, 60, 70}, {200, 60, 40}, {120, 150, 190}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifSetGifVersion(file, true);
    check(EGifPutScreenDesc(file, width, height, 2, 0, map), "screen");

    const GifByteType loop[3] = {1, 0, 0};
    check(EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE), "leader");
    check(EGifPutExtensionBlock(file, 11, "NETSCAPE2.0"), "netscape");
    check(EGifPutExtensionBlock(file, 3, loop), "loop");
    check(EGifPutExtensionTrailer(file), "trailer");

    std::vector<GifPixelType> line(std::size_t(width), 0);
    const double cx = width / 2.0, cy = height / 2.0, radius = height * 0.4;
    for (int f = 0; f < frames; ++f) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = 10;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const std::size_t extLength = EGifGCBToExtension(&gcb, ext);
        check(EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, int(extLength), ext), "gce");
        check(EGifPutImageDesc(file, 0, 0, width, height, false, nullptr), "image");
        const double angle = direction * kTwoPi * f / frames;
        const double dx = std::cos(angle), dy = std::sin(angle);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const double px = x - cx, py = y - cy, r = std::hypot(px, py);
                const double along = px * dx + py * dy, across = std::abs(px * dy - py * dx);
                GifPixelType c = 0;
                if (r < radius) c = 3;
                if (r < radius && along > 0 && across < 10) c = 2;
                if (r < 14) c = 1;
                line[std::size_t(x)] = c;
            }
            check(EGifPutLine(file, line.data(), width), "line");
        }
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(file, &error) != GIF_OK) throw std::runtime_error("giflib: close");
    return out;
}

}  // namespace

std::vector<PlaceholderFile> makePlaceholders() {
    return {
        {"switch_closed.png", png(340, 310, 0x60C060, 40)},
        {"switch_open.png", png(340, 310, 0xC06060, 200)},
        {"contactor_released.png", png(505, 505, 0x8080C0, 300)},
        {"contactor_pulled_in.png", png(505, 505, 0x80C0C0, 100)},
        {"motor_at_rest.png", png(619, 431, 0xC0C080, 180)},
        {"motor_forward.gif", gif(620, 434, 69, 1)},
        {"motor_reverse.gif", gif(620, 434, 68, -1)},
    };
}

}  // namespace soundgen
