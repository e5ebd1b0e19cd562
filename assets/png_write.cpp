#include "assets/png_write.h"

#include <png.h>

#include <QPainter>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include "assets/gif_write.h"

namespace wt::assets {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// What one libpng write needs, fixed before the write starts.
struct PngLayout {
    png_uint_32 width = 0, height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    const png_color* palette = nullptr;  // PNG_COLOR_TYPE_PALETTE only
    int paletteSize = 0;
    png_bytep* rows = nullptr;
};

// Encodes into `out`. libpng reports an error by a longjmp back into this frame: it holds no
// object with a destructor and nothing in it changes after setjmp, so the jump can neither skip
// a destructor nor leave a clobbered value behind.
bool writeWithLibpng(png_structp png, png_infop info, const PngLayout& layout,
                     std::vector<unsigned char>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, appendBytes, noFlush);
    png_set_IHDR(png, info, layout.width, layout.height, 8, layout.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (layout.palette != nullptr) png_set_PLTE(png, info, layout.palette, layout.paletteSize);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, layout.rows);
    png_write_end(png, nullptr);
    return true;
}

// Creates libpng's structures, writes, and frees them whatever happened.
std::vector<unsigned char> writePng(const PngLayout& layout) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return {};
    png_infop info = png_create_info_struct(png);
    std::vector<unsigned char> out;
    const bool ok = info != nullptr && writeWithLibpng(png, info, layout, &out);
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    if (!ok) out.clear();
    return out;
}

}  // namespace

std::vector<unsigned char> encodePng(const QImage& image) {
    QImage rgb = image;
    if (rgb.hasAlphaChannel()) {
        QImage flat(rgb.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, rgb);
        rgb = flat;
    }
    rgb = rgb.convertToFormat(QImage::Format_RGB888);

    std::vector<png_bytep> rows(static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) rows[static_cast<std::size_t>(y)] = rgb.scanLine(y);
    PngLayout layout;
    layout.width = static_cast<png_uint_32>(rgb.width());
    layout.height = static_cast<png_uint_32>(rgb.height());
    layout.rows = rows.data();
    return writePng(layout);
}

std::vector<unsigned char> encodePalettePng(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const Palette palette = buildPalette({rgb});
    const int w = rgb.width(), h = rgb.height();
    std::vector<png_byte> indices(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::unordered_map<std::uint32_t, std::uint8_t> lookup;
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = line[x] & 0xFFFFFFu;
            auto it = lookup.find(c);
            if (it == lookup.end()) it = lookup.emplace(c, palette.nearest(c)).first;
            indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                    static_cast<std::size_t>(x)] = it->second;
        }
    }
    std::vector<png_color> colours;
    for (const auto& c : palette.colours) colours.push_back({c[0], c[1], c[2]});
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[static_cast<std::size_t>(y)] =
            &indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(w)];

    PngLayout layout;
    layout.width = static_cast<png_uint_32>(w);
    layout.height = static_cast<png_uint_32>(h);
    layout.colorType = PNG_COLOR_TYPE_PALETTE;
    layout.palette = colours.data();
    layout.paletteSize = static_cast<int>(colours.size());
    layout.rows = rows.data();
    return writePng(layout);
}

bool writeIfDifferent(const std::string& path, const std::vector<unsigned char>& bytes,
                      std::string* error) {
    {
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::vector<unsigned char> current((std::istreambuf_iterator<char>(old)),
                                               std::istreambuf_iterator<char>());
            if (current == bytes) return true;
        }
    }
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            if (error) *error = "cannot write " + tmp;
            return false;
        }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        if (error) *error = "cannot rename " + tmp + " to " + path;
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

}  // namespace wt::assets
