#include "ui/media/png_decode.h"

#include <png.h>
#include <zlib.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <string>

namespace wt::decode {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

std::uint32_t be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

bool validDepth(int colorType, int depth) {
    switch (colorType) {
        case 0:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

// libpng reads from the span through this; running out of bytes is an error, not a short read.
struct Source {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

void readFromSource(png_structp png, png_bytep out, std::size_t n) {
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (n > src->bytes.size() - src->pos) png_error(png, "file ends early");
    std::memcpy(out, src->bytes.data() + src->pos, n);
    src->pos += n;
}

void onError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

// Releases the libpng read state on every path out of decodePng.
struct ReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// Everything that libpng may leave by longjmp happens in here. The function owns no C++ object
// (the buffers belong to the caller), so the jump back to setjmp skips no destructor.
bool readRows(png_structp png, png_infop info, Source& src, Image& out,
              std::vector<std::uint8_t>& scratch, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &src, readFromSource);
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_read_info(png, info);

    const int colorType = png_get_color_type(png, info);
    const bool hasAlpha =
        (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    // Palettes, gray below 8 bits and tRNS become plain 8-bit samples; no gamma is applied,
    // the samples stay as stored.
    png_set_expand(png);
    png_set_scale_16(png);
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    const int channels = hasAlpha || out.format != PixelFormat::Rgb8 ? 4 : 3;
    if (out.format == PixelFormat::Argb32) {
        // Words 0xAARRGGBB: bytes B, G, R, A on a little-endian machine, A, R, G, B otherwise.
        const bool little = std::endian::native == std::endian::little;
        if (little)
            png_set_bgr(png);
        else if (hasAlpha)
            png_set_swap_alpha(png);
        if (!hasAlpha) png_set_add_alpha(png, 0xFF, little ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    } else if (channels == 4 && !hasAlpha) {
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != channels || png_get_bit_depth(png, info) != 8 ||
        png_get_rowbytes(png, info) != std::size_t(out.width) * channels)
        png_error(png, "unexpected row layout after conversion");

    // Rows go straight into the output unless alpha must first be composed away.
    std::uint8_t* base = out.pixels.data();
    std::size_t stride = out.stride;
    if (channels != out.channels()) {
        stride = std::size_t(out.width) * channels;
        scratch.resize(stride * out.height);
        base = scratch.data();
    }
    rows.resize(out.height);
    for (int y = 0; y < out.height; ++y) rows[y] = base + std::size_t(y) * stride;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

Decoded<PngHeader> readPngHeader(std::span<const std::uint8_t> bytes) {
    using R = Decoded<PngHeader>;
    // Signature, then the IHDR chunk: length 13, type, 13 data bytes, CRC.
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return R::fail("not a PNG signature");
    if (bytes.size() < 8 + 8 + 13 + 4) return R::fail("truncated before the end of IHDR");
    const std::uint8_t* chunk = bytes.data() + 8;
    if (be32(chunk) != 13 || std::memcmp(chunk + 4, "IHDR", 4) != 0)
        return R::fail("first chunk is not a 13-byte IHDR");
    const std::uint8_t* data = chunk + 8;
    const auto crc = static_cast<std::uint32_t>(crc32(0L, chunk + 4, 4 + 13));
    if (crc != be32(data + 13)) return R::fail("IHDR CRC mismatch");

    PngHeader h;
    h.width = be32(data);
    h.height = be32(data + 4);
    h.bitDepth = data[8];
    h.colorType = data[9];
    const int compression = data[10], filter = data[11], interlace = data[12];
    if (h.width == 0 || h.height == 0) return R::fail("zero width or height");
    if (h.width > kMaxPngSide || h.height > kMaxPngSide)
        return R::fail("dimensions " + std::to_string(h.width) + "x" + std::to_string(h.height) +
                       " exceed the cap of " + std::to_string(kMaxPngSide));
    if (!validDepth(h.colorType, h.bitDepth)) return R::fail("invalid colour type / bit depth");
    if (compression != 0 || filter != 0 || interlace > 1)
        return R::fail("unknown compression, filter or interlace method");
    h.interlaced = interlace == 1;
    return R::ok(h);
}

Decoded<Image> decodePng(std::span<const std::uint8_t> bytes, PixelFormat format) {
    using R = Decoded<Image>;
    // The header is checked first so that the size cap holds before anything is allocated.
    auto header = readPngHeader(bytes);
    if (!header) return R::fail(header.error);

    std::string error;
    ReadGuard guard;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
    if (guard.png) guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return R::fail("libpng: out of memory");

    Image out;
    out.width = static_cast<int>(header->width);
    out.height = static_cast<int>(header->height);
    out.format = format;
    out.stride = (std::size_t(out.width) * out.channels() + 3) & ~std::size_t(3);
    out.pixels.resize(out.stride * out.height);
    std::vector<std::uint8_t> scratch;
    std::vector<png_bytep> rows;
    Source src{bytes};
    if (!readRows(guard.png, guard.info, src, out, scratch, rows))
        return R::fail("libpng: " + error);

    // RGBA read for an RGB result: compose over black.
    if (!scratch.empty()) {
        for (int y = 0; y < out.height; ++y) {
            const std::uint8_t* from = scratch.data() + std::size_t(y) * out.width * 4;
            std::uint8_t* to = out.pixels.data() + std::size_t(y) * out.stride;
            for (int x = 0; x < out.width; ++x, from += 4, to += 3)
                for (int c = 0; c < 3; ++c) to[c] = std::uint8_t((from[c] * from[3] + 127) / 255);
        }
    }
    return R::ok(std::move(out));
}

}  // namespace wt::decode
