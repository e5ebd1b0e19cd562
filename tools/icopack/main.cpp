// icopack: packs PNG images into one Windows .ico file, each image stored as PNG (read by
// Windows Vista and later), for the Windows edition's icon resource.
//
//   icopack OUT.ico IN.png...       sizes up to 256 x 256; the entries keep the order given
//
// A file whose bytes did not change is left untouched.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/png_write.h"

namespace {

std::uint32_t be32(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

void le(std::vector<unsigned char>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc - 2 > 0xffff) {
        std::fprintf(stderr, "usage: icopack OUT.ico IN.png...\n");
        return 2;
    }
    std::vector<std::vector<unsigned char>> images;
    std::vector<std::uint32_t> sides;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<unsigned char> png{std::istreambuf_iterator<char>(in), {}};
        static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        // The signature, then IHDR first with its width and height.
        if (png.size() < 33 ||
            !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()) ||
            be32(png, 8) != 13 || std::string(png.begin() + 12, png.begin() + 16) != "IHDR") {
            std::fprintf(stderr, "icopack: %s is not a PNG file\n", argv[i]);
            return 1;
        }
        const std::uint32_t w = be32(png, 16), h = be32(png, 20);
        if (w != h || w < 1 || w > 256) {
            std::fprintf(stderr, "icopack: %s is %ux%u; an icon is square, 1 to 256\n", argv[i], w,
                         h);
            return 1;
        }
        sides.push_back(w);
        images.push_back(std::move(png));
    }
    // ICONDIR, then one 16-byte ICONDIRENTRY per image, then the images.
    std::vector<unsigned char> ico;
    le(ico, 0, 2);
    le(ico, 1, 2);  // icon
    le(ico, std::uint32_t(images.size()), 2);
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        ico.push_back(static_cast<unsigned char>(sides[i] & 0xff));  // 0 stands for 256
        ico.push_back(static_cast<unsigned char>(sides[i] & 0xff));
        ico.push_back(0);  // no palette
        ico.push_back(0);
        le(ico, 1, 2);   // planes
        le(ico, 32, 2);  // bits per pixel
        le(ico, std::uint32_t(images[i].size()), 4);
        le(ico, offset, 4);
        offset += std::uint32_t(images[i].size());
    }
    for (const auto& png : images) ico.insert(ico.end(), png.begin(), png.end());
    std::string error;
    if (!wt::assets::writeIfDifferent(argv[1], ico, &error)) {
        std::fprintf(stderr, "icopack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
