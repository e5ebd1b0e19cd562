#include "image_io.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace wt::assets::test {

std::optional<PngHeader> readPngHeader(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    PngHeader h;
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_read_info(png, info);
        h.width = png_get_image_width(png, info);
        h.height = png_get_image_height(png, info);
        h.bitDepth = png_get_bit_depth(png, info);
        h.colourType = png_get_color_type(png, info);
        ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    if (!ok) return std::nullopt;
    return h;
}

std::optional<Rgb> decodePng(const std::vector<unsigned char>& bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    Rgb out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return out;
}

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<Rgb> readPng(const std::string& path) {
    return decodePng(readFile(path));
}

namespace {

struct Reader {
    const std::vector<unsigned char>* bytes;
    std::size_t pos = 0;
};

int readFromVector(GifFileType* gif, GifByteType* buf, int length) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(length), r->bytes->size() - r->pos);
    std::memcpy(buf, r->bytes->data() + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

}  // namespace

std::optional<GifInfo> readGif(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 6) return std::nullopt;
    Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readFromVector, &error);
    if (gif == nullptr) return std::nullopt;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return std::nullopt;
    }
    GifInfo info;
    info.signature.assign(bytes.begin(), bytes.begin() + 6);
    info.width = gif->SWidth;
    info.height = gif->SHeight;
    Rgb canvas;
    canvas.width = info.width;
    canvas.height = info.height;
    canvas.pixels.assign(static_cast<std::size_t>(info.width) * info.height * 3, 0);
    for (int k = 0; k < gif->ImageCount; ++k) {
        const SavedImage& frame = gif->SavedImages[k];
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, k, &gcb);
        info.delays.push_back(gcb.DelayTime);
        for (int e = 0; e + 1 < frame.ExtensionBlockCount; ++e) {
            const ExtensionBlock& app = frame.ExtensionBlocks[e];
            const ExtensionBlock& sub = frame.ExtensionBlocks[e + 1];
            if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
                std::memcmp(app.Bytes, "NETSCAPE2.0", 11) == 0 && sub.ByteCount == 3 &&
                sub.Bytes[0] == 1)
                info.loopCount = sub.Bytes[1] | (sub.Bytes[2] << 8);
        }
        const GifImageDesc& d = frame.ImageDesc;
        if (d.Left < 0 || d.Top < 0 || d.Left + d.Width > info.width ||
            d.Top + d.Height > info.height) {
            info.framesInside = false;
            continue;
        }
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = frame.RasterBits[y * d.Width + x];
                if (index == gcb.TransparentColor || map == nullptr || index >= map->ColorCount)
                    continue;
                const std::size_t i =
                    (static_cast<std::size_t>(d.Top + y) * info.width + d.Left + x) * 3;
                canvas.pixels[i] = map->Colors[index].Red;
                canvas.pixels[i + 1] = map->Colors[index].Green;
                canvas.pixels[i + 2] = map->Colors[index].Blue;
            }
        }
        info.composed.push_back(canvas);
    }
    DGifCloseFile(gif, &error);
    return info;
}

double differingShare(const Rgb& a, const Rgb& b, int threshold) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); i += 3) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(int(a.pixels[i + c]) - int(b.pixels[i + c])) > threshold) {
                ++differing;
                break;
            }
        }
    }
    return double(differing) / (a.pixels.size() / 3);
}

}  // namespace wt::assets::test
