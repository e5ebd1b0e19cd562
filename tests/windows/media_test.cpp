// The Windows binding's media under the system's own decoders: WIC pictures, wave output and
// code page 936, checked against fixtures with known pixels, the program's media as the native
// decoders of ui/media read them, and the GBK that iconv gives on Linux.
//
//   media_test ASSET_DIR TEXTS_TXT      (Unix paths are read through Wine's Z: drive)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/gbk.h"
#include "ui/media/gif_info.h"
#include "ui/win32/pictures.h"
#include "ui/win32/sound.h"

namespace {

int passed = 0, failed = 0;

void check(bool ok, const std::string& what) {
    ok ? ++passed : ++failed;
    if (!ok) std::printf("FAIL %s\n", what.c_str());
}

std::vector<std::uint8_t> readFile(std::string path) {
    if (path.starts_with("/")) path = "Z:" + path;
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

using Bytes = std::vector<std::uint8_t>;

// 2 x 2 RGBA: red, green / blue, white at alpha 128.
const Bytes kPng = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49,
                    0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06,
                    0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x13, 0x49, 0x44,
                    0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xf0, 0x1f, 0x0c, 0x81, 0x34,
                    0x08, 0x34, 0x00, 0x00, 0x49, 0x49, 0x09, 0x78, 0x9c, 0x51, 0x17, 0x92, 0x00,
                    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
// 4 x 1, palette black red green blue, NETSCAPE2.0 repeat 3, delays 10 20 30 40 cs:
// all red (keep) | x 1-2 green + transparent (restore to background) | x 3 green (restore to
// previous) | x 0 green (unspecified).
const Bytes kGif = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x01, 0x00, 0xf1, 0x00, 0x00, 0x00, 0x00, 0x00,
    0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff, 0x21, 0xff, 0x0b, 0x4e, 0x45, 0x54, 0x53,
    0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03, 0x01, 0x03, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x04,
    0x0a, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x02, 0x04,
    0x0c, 0xc3, 0x30, 0x05, 0x00, 0x21, 0xf9, 0x04, 0x09, 0x14, 0x00, 0x03, 0x00, 0x2c, 0x01, 0x00,
    0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x14, 0x57, 0x00, 0x21, 0xf9, 0x04, 0x0c,
    0x1e, 0x00, 0x00, 0x00, 0x2c, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02,
    0x54, 0x01, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x28, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00,
    0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x54, 0x01, 0x00, 0x3b};

std::uint32_t pixel(const wt::win32::Bitmap& b, int x, int y) {  // 0xAARRGGBB
    const std::uint8_t* p = b.pixels.data() + (std::size_t(y) * b.width + x) * 4;
    return std::uint32_t(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
}

void pictures(const std::string& assets) {
    using wt::win32::decodePicture;
    struct Pixel {
        const char* what;
        const Bytes& file;
        int frame, x, y;
        std::uint32_t argb;  // premultiplied
    };
    const Pixel pixels[] = {
        {"png red", kPng, 0, 0, 0, 0xffff0000},
        {"png green", kPng, 0, 1, 0, 0xff00ff00},
        {"png blue", kPng, 0, 0, 1, 0xff0000ff},
        {"png half white", kPng, 0, 1, 1, 0x80808080},
        {"gif 0 all red", kGif, 0, 3, 0, 0xffff0000},
        {"gif 1 drawn", kGif, 1, 1, 0, 0xff00ff00},
        {"gif 1 see-through", kGif, 1, 2, 0, 0xffff0000},
        {"gif 2 background restored", kGif, 2, 1, 0, 0},
        {"gif 2 background restored", kGif, 2, 2, 0, 0},
        {"gif 2 drawn", kGif, 2, 3, 0, 0xff00ff00},
        {"gif 3 previous restored", kGif, 3, 3, 0, 0xffff0000},
        {"gif 3 drawn", kGif, 3, 0, 0, 0xff00ff00},
        {"gif 3 kept clear", kGif, 3, 2, 0, 0},
    };
    for (const Pixel& row : pixels) {
        auto p = decodePicture(row.file);
        const bool ok = p && std::size_t(row.frame) < p->frames.size() &&
                        pixel(p->frames[std::size_t(row.frame)], row.x, row.y) == row.argb;
        check(ok, std::string("pixel: ") + row.what);
    }
    auto gif = decodePicture(kGif);
    check(gif && gif->delaysMs == std::vector<int>{100, 200, 300, 400} && gif->loopCount == 4 &&
              gif->frames[0].width == 4 && gif->frames[0].height == 1,
          "fixture gif: delays, plays, size");

    // Refused: not a picture, a cut-off file, a GIF header without images.
    const Bytes refused[] = {{},
                             {'n', 'o'},
                             Bytes(kPng.begin(), kPng.begin() + 40),
                             Bytes(kGif.begin(), kGif.begin() + 44)};
    for (const Bytes& bad : refused)
        check(!decodePicture(bad), "refused: " + std::to_string(bad.size()) + " bytes");

    // The program's media against the native GIF reader and the PNG header.
    for (const char* name : {"motor_forward.gif", "motor_reverse.gif"}) {
        const Bytes file = readFile(assets + "/" + name);
        const auto native = wt::decode::inspectGif(file);
        auto p = decodePicture(file);
        std::vector<int> delays;
        if (native)
            for (int cs : native->delays) delays.push_back(cs * 10);
        check(native && p && p->frames.size() == std::size_t(native->frameCount()) &&
                  p->delaysMs == delays && p->loopCount == native->loopCount.value_or(-1) &&
                  p->frames.back().width == native->width &&
                  p->frames.back().height == native->height,
              std::string(name) + ": frames, delays, loop, size as ui/media reads them");
        // Frames are composited whole: the last one has no see-through pixel.
        bool opaque = p && !p->frames.empty();
        for (std::size_t i = 3; opaque && i < p->frames.back().pixels.size(); i += 4)
            opaque = p->frames.back().pixels[i] == 255;
        check(opaque, std::string(name) + ": last frame composited opaque");
    }
    for (const char* name : {"icon/icon_256.png", "terminal.png", "motor_at_rest.png"}) {
        const Bytes file = readFile(assets + "/" + name);
        auto p = decodePicture(file);
        auto be32 = [&](std::size_t at) {
            return file.size() < at + 4 ? 0
                                        : int(file[at] << 24 | file[at + 1] << 16 |
                                              file[at + 2] << 8 | file[at + 3]);
        };
        check(p && p->frames.size() == 1 && p->delaysMs.empty() && p->frames[0].width == be32(16) &&
                  p->frames[0].height == be32(20),
              std::string(name) + ": size as its header says");
    }
    // The icon's corner is transparent, its middle the opaque tile.
    auto icon = decodePicture(readFile(assets + "/icon/icon_256.png"));
    check(icon && pixel(icon->frames[0], 0, 0) >> 24 == 0 &&
              pixel(icon->frames[0], 128, 128) >> 24 == 255,
          "icon: transparent corner, opaque middle");
}

void scaling() {
    using wt::win32::Bitmap;
    // Black | white, 2 x 1, opaque: grown eight times, a smooth filter passes through greys.
    const Bitmap edge{2, 1, {0, 0, 0, 255, 255, 255, 255, 255}};
    const Bitmap grown = wt::win32::scaleBitmap(edge, 16, 1);
    int greys = 0;
    for (int x = 0; x < grown.width; ++x) {
        const std::uint32_t g = pixel(grown, x, 0) & 0xff;
        greys += g > 20 && g < 235;
    }
    check(grown.width == 16 && greys >= 2, "grown: greys between black and white");
    // A 4 x 4 checkerboard shrunk to 1 x 1 averages to grey, not one of its squares.
    Bitmap board{4, 4, {}};
    for (int i = 0; i < 16; ++i) {
        const std::uint8_t v = ((i % 4 + i / 4) % 2) ? 255 : 0;
        board.pixels.insert(board.pixels.end(), {v, v, v, 255});
    }
    const Bitmap shrunk = wt::win32::scaleBitmap(board, 1, 1);
    check(shrunk.width == 1 && (pixel(shrunk, 0, 0) & 0xff) > 64 &&
              (pixel(shrunk, 0, 0) & 0xff) < 192,
          "shrunk: checkerboard to grey");
    check(wt::win32::scaleBitmap(board, 0, 3).pixels.empty(), "scaled to nothing: refused");

    wt::win32::PictureCache cache;
    HBITMAP a = cache.scaled(kGif, 2, 40, 10);
    BITMAP info{};
    check(a && GetObjectW(a, sizeof info, &info) && info.bmWidth == 40 && info.bmHeight == 10 &&
              info.bmBitsPixel == 32,
          "cache: 32-bit DIB of the size asked");
    check(cache.scaled(kGif, 2, 40, 10) == a && cache.info(kGif) == cache.info(kGif) &&
              cache.info(kGif)->frameCount == 4 && cache.info(kGif)->loopCount == 4 &&
              cache.info(kGif)->delaysMs == std::vector<int>{100, 200, 300, 400},
          "cache: made once, plays as decoded");
    check(!cache.scaled(kGif, 4, 40, 10) && !cache.scaled(kGif, 0, 0, 10) &&
              !cache.scaled(Bytes{1, 2, 3}, 0, 8, 8),
          "cache: no frame, no size, no picture");
    cache.release(kGif);
    check(GetObjectType(a) == 0 && cache.fullSizeBytes() == 0, "cache: release deletes the sizes");
}

// The cache composites frame by frame at the size asked, holding no full-size frame once a size
// is complete: its frames equal the whole decode scaled, in whatever order they are asked for.
void cacheFrames(const std::string& assets) {
    struct Row {
        const char* what;
        Bytes file;
        int width, height;
        std::vector<int> order;  // frames asked for; every frame, so the size ends complete
    };
    const Bytes motor = readFile(assets + "/motor_forward.gif");
    std::vector<int> played;  // a box's first look at frame 30, then a whole loop
    if (auto info = wt::decode::inspectGif(motor)) {
        played.push_back(30);
        for (int i = 0; i < info->frameCount(); ++i) played.push_back(i);
    }
    const Row rows[] = {
        {"fixture gif, in order", kGif, 8, 2, {0, 1, 2, 3}},
        {"fixture gif, walked again", kGif, 3, 1, {2, 3, 0, 1}},
        {"fixture gif, at its own size", kGif, 4, 1, {3, 2, 1, 0}},
        {"png", kPng, 5, 5, {0}},
        {"motor_forward.gif, box at 100 %", motor, 160, 104, played},
    };
    for (const Row& row : rows) {
        const auto whole = wt::win32::decodePicture(row.file);
        wt::win32::PictureCache cache;
        bool same = whole != nullptr;
        for (int frame : row.order) {
            HBITMAP dib = cache.scaled(row.file, frame, row.width, row.height);
            DIBSECTION section{};
            if (!same || !dib || GetObjectW(dib, sizeof section, &section) != sizeof section) {
                same = false;
                break;
            }
            const auto want =
                wt::win32::scaleBitmap(whole->frames[std::size_t(frame)], row.width, row.height);
            const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
            same = std::equal(want.pixels.begin(), want.pixels.end(), bits);
        }
        check(same, std::string("cache frames as the whole decode: ") + row.what);
        check(cache.fullSizeBytes() == 0, std::string("cache holds no full size: ") + row.what);
    }

    // Time to the first frame of the motor on the GUI thread: the whole file decoded first, as
    // before, against the first frame alone.
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::time_point since) {
        return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
    };
    Clock::time_point t0 = Clock::now();
    const auto whole = wt::win32::decodePicture(motor);
    if (whole) wt::win32::scaleBitmap(whole->frames[0], 160, 104);
    const double wholeMs = ms(t0);
    wt::win32::PictureCache cache;
    t0 = Clock::now();
    const bool first = cache.info(motor) && cache.scaled(motor, 0, 160, 104);
    const double firstMs = ms(t0);
    std::printf(
        "motor first frame at 160x104: %.1f ms (whole decode first: %.1f ms); "
        "full-size bytes held meanwhile %zu\n",
        firstMs, wholeMs, cache.fullSizeBytes());
    check(first && firstMs < wholeMs, "motor: first frame before the whole decode");
}

void texts(const std::string& textsTxt) {
    std::ifstream in(textsTxt.starts_with("/") ? "Z:" + textsTxt : textsTxt);
    int count = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.find(' ') == std::string::npos) continue;
        const std::string text = line.substr(line.find(' ') + 1);
        const auto exact = wt::gbkExact(text);
        check(exact && *exact == wt::gbk(text) && wt::utf8(*exact) == text, "round trip: " + line);
        ++count;
    }
    check(count > 10, "texts.txt read");
    // What iconv's GBK gives for the same bytes on Linux.
    struct Row {
        std::string utf8, gbk;  // gbk(utf8)
        bool exact;             // gbkExact(utf8) gives the same
    };
    const Row toGbk[] = {
        {"\xe4\xbd\xa0"
         "a",
         "\xc4\xe3"
         "a",
         true},
        {"a\xff"
         "b",
         "ab", false},  // invalid byte
        {"\xe4\xbd"
         "a",
         "a", false},                                    // cut-off sequence
        {"\xe4\xe4\xbd\xa0", "\xc4\xe3", false},         // stray lead, then a character
        {"x\xf0\x9f\x98\x80y", "xy", false},             // no GBK form (outside the BMP)
        {"\xe2\x80\xa2", "", false},                     // no GBK form
        {"\xee\x80\x80", "", false},                     // private use
        {"\xed\xa0\x80z", "z", false},                   // surrogate
        {"\xc0\x80", "", false},                         // overlong
        {"\xe2\x82\xac", "\x80", true},                  // euro
        {"\xc3\xbc\xc2\xb7", "\xa8\xb9\xa1\xa4", true},  // u umlaut, middle dot
        {"\xe2\x80\x94\xe2\x80\xa6\xef\xbd\x9e", "\xa1\xaa\xa1\xad\xa1\xab", true},
        {"\xe3\x80\x80\xef\xbc\x81", "\xa1\xa1\xa3\xa1", true},
        {"", "", true},
    };
    for (const Row& row : toGbk) {
        check(wt::gbk(row.utf8) == row.gbk, "gbk of " + row.utf8);
        check(wt::gbkExact(row.utf8) == (row.exact ? std::optional(row.gbk) : std::nullopt),
              "gbkExact of " + row.utf8);
    }
    const std::pair<std::string, std::string> toUtf8[] = {
        {"\xc4\xe3"
         "a",
         "\xe4\xbd\xa0"
         "a"},
        {"\xc4", ""},    // lone lead byte
        {"a\xc4", "a"},  // lead byte at the end
        {"\x80"
         "a",
         "\xe2\x82\xac"
         "a"},
        {"\xff"
         "a",
         "a"},
        {"\x81\x30", "0"},  // bad trail byte: only the lead is dropped
        {"\x81\x7f"
         "b",
         "\x7f"
         "b"},
        {"\xaa\xa1", ""},  // user-defined area
        {"\xa1\x40", "@"},
        {"\xfe\xfe", ""},
        {"\xa2\xa1", "\xe2\x85\xb0"},
    };
    for (const auto& [in, out] : toUtf8) check(wt::utf8(in) == out, "utf8 of " + in);
}

void sound(const std::string& assets) {
    const Bytes a = readFile(assets + "/start2.wav"), b = readFile(assets + "/switch_close.wav");
    check(a.size() > 44 && b.size() > 44, "waves read");
    if (a.size() <= 44 || b.size() <= 44) return;
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::time_point since) {
        return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
    };
    Clock::time_point t0;
    {
        wt::win32::SoundOutput output;
        t0 = Clock::now();
        output.play(a);
        output.play(b);
        output.play(Bytes(a.begin(), a.begin() + 40));  // cut off: nothing
        output.play(kPng);                              // not a wave: nothing
        const double started = ms(t0);
        std::printf("two sounds started in %.2f ms, %zu playing\n", started, output.playing());
        check(started < 50 && output.playing() <= 2, "two sounds at once, returning at once");
        t0 = Clock::now();
    }
    // start2.wav lasts 5.5 s: closing stops it.
    std::printf("sound output closed in %.1f ms\n", ms(t0));
    check(ms(t0) < 2000, "closing stops the sounds");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: media_test ASSET_DIR TEXTS_TXT\n");
        return 2;
    }
    pictures(argv[1]);
    scaling();
    cacheFrames(argv[1]);
    texts(argv[2]);
    sound(argv[1]);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
