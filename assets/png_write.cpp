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

    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    // Row pointers are built before setjmp so that no object with a destructor is live across
    // the longjmp target.
    std::vector<png_bytep> rows(static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) rows[static_cast<std::size_t>(y)] = rgb.scanLine(y);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb.width()),
                 static_cast<png_uint_32>(rgb.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
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

    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
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
