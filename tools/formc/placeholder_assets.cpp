// Writes plain single-colour placeholder PNGs under the names the forms use, so that the form
// resource can be built before the real pictures are generated.
//
//   formc_placeholders OUTDIR
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Picture {
    const char* name;
    int width, height;
    std::uint8_t r, g, b;
};

constexpr Picture kPictures[] = {
    {"menu_background", 1501, 672, 0x30, 0x60, 0xC0},
    {"terminal", 51, 51, 0xC0, 0xC0, 0xC0},
    {"button_green", 51, 51, 0x20, 0xA0, 0x20},
    {"button_red", 51, 51, 0xC0, 0x20, 0x20},
    {"switch_open", 340, 310, 0xE0, 0xE0, 0xE0},
    {"switch_closed", 340, 310, 0xD0, 0xD0, 0xD0},
    {"contactor_released", 505, 505, 0xE0, 0xE0, 0xE0},
    {"contactor_pulled_in", 505, 505, 0xD0, 0xD0, 0xD0},
    {"motor_at_rest", 619, 431, 0xE0, 0xE0, 0xE0},
    {"relay", 200, 200, 0xE0, 0xE0, 0xE0},
    {"fuse", 60, 120, 0xE0, 0xE0, 0xE0},
    {"diagram_continuous_run", 1246, 758, 0xF8, 0xF8, 0xF8},
    {"diagram_jog", 1159, 839, 0xF8, 0xF8, 0xF8},
    {"diagram_continuous_jog", 1164, 780, 0xF8, 0xF8, 0xF8},
    {"diagram_forward_reverse", 1259, 800, 0xF8, 0xF8, 0xF8},
    {"diagram_double_interlock", 1368, 778, 0xF8, 0xF8, 0xF8},
    {"diagram_multi_location", 1419, 836, 0xF8, 0xF8, 0xF8},
    {"schematic_continuous_run", 400, 300, 0xF8, 0xF8, 0xF8},
    {"schematic_jog", 400, 300, 0xF8, 0xF8, 0xF8},
    {"schematic_continuous_jog", 400, 300, 0xF8, 0xF8, 0xF8},
    {"schematic_forward_reverse", 400, 300, 0xF8, 0xF8, 0xF8},
    {"schematic_double_interlock", 400, 300, 0xF8, 0xF8, 0xF8},
    {"schematic_multi_location", 400, 300, 0xF8, 0xF8, 0xF8},
};

void be32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
    be32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    be32(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> png(const Picture& p) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(p.height) * (1 + 3 * p.width));
    for (int y = 0; y < p.height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < p.width; ++x) raw.insert(raw.end(), {p.r, p.g, p.b});
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    be32(ihdr, static_cast<std::uint32_t>(p.width));
    be32(ihdr, static_cast<std::uint32_t>(p.height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    chunk(out, "IHDR", ihdr);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: formc_placeholders OUTDIR\n";
        return 2;
    }
    std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const Picture& p : kPictures) {
        std::vector<std::uint8_t> bytes = png(p);
        std::ofstream out(dir / (std::string(p.name) + ".png"), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "formc_placeholders: cannot write " << p.name << ".png\n";
            return 1;
        }
    }
    return 0;
}
