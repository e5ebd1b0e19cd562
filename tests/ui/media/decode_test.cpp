// The Qt-free decoders against hand-made files: what they must accept and report, and what they
// must refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "builders.h"
#include "ui/media/gif_info.h"
#include "ui/media/media_kind.h"
#include "ui/media/png_decode.h"
#include "ui/media/wave.h"

namespace wt::decode {
namespace {

using testing::Bytes;
using testing::PngShape;

// A 3x2 RGB picture: row 0 red, green, blue; row 1 white, black, grey.
PngShape rgb3x2() {
    PngShape s;
    s.width = 3;
    s.height = 2;
    s.raw = {0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0, 0, 128, 128, 128};
    return s;
}

struct PixelCase {
    const char* name;
    PngShape shape;
    PixelFormat format;
    int x, y;
    std::vector<int> expected;  // the pixel's channels after decoding (A, R, G, B for Argb32)
};

class PngPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(PngPixels, DecodesToEightBitSamples) {
    const PixelCase& c = GetParam();
    const Bytes file = testing::png(c.shape);
    auto image = decodePng(file, c.format);
    ASSERT_TRUE(image) << image.error;
    EXPECT_EQ(image->width, int(c.shape.width));
    EXPECT_EQ(image->height, int(c.shape.height));
    EXPECT_EQ(image->stride % 4, 0u);
    EXPECT_GE(image->stride, std::size_t(image->width * image->channels()));
    EXPECT_EQ(image->pixels.size(), image->stride * image->height);
    const std::uint8_t* p = image->row(c.y) + c.x * image->channels();
    if (c.format == PixelFormat::Argb32) {
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        const std::vector<int> argb{int(word >> 24), int(word >> 16 & 0xFF), int(word >> 8 & 0xFF),
                                    int(word & 0xFF)};
        EXPECT_EQ(argb, c.expected);
    } else {
        EXPECT_EQ(std::vector<int>(p, p + image->channels()), c.expected);
    }
}

PngShape with(PngShape s, const std::function<void(PngShape&)>& change) {
    change(s);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PngPixels,
    ::testing::Values(
        PixelCase{"RgbFirstPixel", rgb3x2(), PixelFormat::Rgb8, 0, 0, {255, 0, 0}},
        PixelCase{"RgbLastPixel", rgb3x2(), PixelFormat::Rgb8, 2, 1, {128, 128, 128}},
        PixelCase{"RgbAsRgbaIsOpaque", rgb3x2(), PixelFormat::Rgba8, 2, 0, {0, 0, 255, 255}},
        PixelCase{"RgbAsArgbIsOpaque", rgb3x2(), PixelFormat::Argb32, 0, 0, {255, 255, 0, 0}},
        PixelCase{"RgbAsArgbLastPixel", rgb3x2(), PixelFormat::Argb32, 2, 1, {255, 128, 128, 128}},
        PixelCase{"GrayAsArgb",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 0, s.raw = {0, 77};
                       }),
                  PixelFormat::Argb32,
                  0,
                  0,
                  {255, 77, 77, 77}},
        PixelCase{"PaletteTransparencyInArgb",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 3, s.raw = {0, 0}, s.palette = {10, 20, 30}, s.trns = {0};
                       }),
                  PixelFormat::Argb32,
                  0,
                  0,
                  {0, 10, 20, 30}},
        PixelCase{"AlphaKeptUnpremultipliedInArgb",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 6, s.raw = {0, 200, 100, 50, 128};
                       }),
                  PixelFormat::Argb32,
                  0,
                  0,
                  {128, 200, 100, 50}},
        PixelCase{"GrayExpands",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 0, s.raw = {0, 77};
                       }),
                  PixelFormat::Rgb8,
                  0,
                  0,
                  {77, 77, 77}},
        PixelCase{
            "SixteenBitKeepsHighByte",
            with({}, [](PngShape& s) { s.depth = 16, s.raw = {0, 0xFF, 0xFF, 0, 0, 0x80, 0}; }),
            PixelFormat::Rgb8,
            0,
            0,
            {255, 0, 128}},
        PixelCase{"PaletteExpands",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 3, s.width = 2, s.raw = {0, 1, 0};
                           s.palette = {10, 20, 30, 40, 50, 60};
                       }),
                  PixelFormat::Rgb8,
                  0,
                  0,
                  {40, 50, 60}},
        PixelCase{"PaletteTransparencyBecomesAlpha",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 3, s.raw = {0, 0}, s.palette = {10, 20, 30}, s.trns = {0};
                       }),
                  PixelFormat::Rgba8,
                  0,
                  0,
                  {10, 20, 30, 0}},
        PixelCase{"AlphaKeptInRgba",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 6, s.raw = {0, 200, 100, 50, 255};
                       }),
                  PixelFormat::Rgba8,
                  0,
                  0,
                  {200, 100, 50, 255}},
        PixelCase{"TransparentOverBlackInRgb",
                  with({},
                       [](PngShape& s) {
                           s.colorType = 6, s.raw = {0, 200, 100, 50, 0};
                       }),
                  PixelFormat::Rgb8,
                  0,
                  0,
                  {0, 0, 0}},
        // Adam7 with a 3x2 picture: the rows are stored pass by pass; the decoder must put
        // them back in place. Passes 1, 4 and 6 hold pixels here: (0,0); (2,0); (1,0) is in
        // pass 6 with row 1 in pass 7.
        PixelCase{"InterlacedPlacesPasses",
                  with(rgb3x2(),
                       [](PngShape& s) {
                           s.interlace = true;
                           s.raw = {0, 255, 0,   0,                             // pass 1: (0,0)
                                    0, 0,   0,   255,                           // pass 4: (2,0)
                                    0, 0,   255, 0,                             // pass 6: (1,0)
                                    0, 255, 255, 255, 0, 0, 0, 128, 128, 128};  // pass 7: row 1
                       }),
                  PixelFormat::Rgb8,
                  1,
                  0,
                  {0, 255, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PngHeader, ReportsWhatIhdrDeclares) {
    PngShape s = rgb3x2();
    s.colorType = 6;
    s.depth = 16;
    s.interlace = true;
    auto h = readPngHeader(testing::png(s));
    ASSERT_TRUE(h) << h.error;
    EXPECT_EQ(h->width, 3u);
    EXPECT_EQ(h->height, 2u);
    EXPECT_EQ(h->colorType, 6);
    EXPECT_EQ(h->bitDepth, 16);
    EXPECT_TRUE(h->interlaced);
}

struct BadPng {
    const char* name;
    std::function<Bytes()> make;
};

class PngRefusals : public ::testing::TestWithParam<BadPng> {};

TEST_P(PngRefusals, RefusedWithAReason) {
    const Bytes file = GetParam().make();
    auto image = decodePng(file);
    EXPECT_FALSE(image);
    EXPECT_FALSE(image.error.empty());
}

Bytes validPng() {
    return testing::png(rgb3x2());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PngRefusals,
    ::testing::Values(
        BadPng{"Empty", [] { return Bytes{}; }},
        BadPng{"NotPng", [] { return Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0}; }},
        BadPng{"CutInsideIhdr",
               [] {
                   Bytes b = validPng();
                   b.resize(20);
                   return b;
               }},
        BadPng{"CutInsideIdat",
               [] {
                   Bytes b = validPng();
                   b.resize(b.size() - 20);
                   return b;
               }},
        BadPng{"NoIend",
               [] {
                   Bytes b = validPng();
                   b.resize(b.size() - 12);
                   return b;
               }},
        BadPng{"IhdrCrcWrong",
               [] {
                   Bytes b = validPng();
                   b[19] ^= 1;
                   return b;
               }},
        BadPng{"IdatCrcWrong",
               [] {
                   Bytes b = validPng();
                   b[b.size() - 13] ^= 0x55;
                   return b;
               }},
        BadPng{"HugeWidth",
               [] { return testing::png(with(rgb3x2(), [](PngShape& s) { s.width = 100000; })); }},
        BadPng{"HugeBoth",
               [] {
                   return testing::png(
                       with(rgb3x2(), [](PngShape& s) { s.width = s.height = 0x7FFFFFFF; }));
               }},
        BadPng{"ZeroHeight",
               [] { return testing::png(with(rgb3x2(), [](PngShape& s) { s.height = 0; })); }},
        BadPng{"BadDepth",
               [] { return testing::png(with(rgb3x2(), [](PngShape& s) { s.depth = 4; })); }},
        BadPng{"PaletteMissing",
               [] { return testing::png(with(rgb3x2(), [](PngShape& s) { s.colorType = 3; })); }},
        BadPng{"TooFewRows",
               [] { return testing::png(with(rgb3x2(), [](PngShape& s) { s.raw.resize(10); })); }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- GIF ------------------------------------------------------------------------------------

Bytes threeFrames() {
    Bytes b = testing::gifHeader("GIF89a", 8, 6);
    testing::gifLoop(b, 0);
    testing::gifDelay(b, 10);
    testing::gifFrame(b, 0, 0, 8, 6);
    b.insert(b.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0});  // comment between frames
    testing::gifDelay(b, 25);
    testing::gifFrame(b, 2, 1, 6, 5, true);
    testing::gifFrame(b, 0, 0, 1, 1);  // no graphic control: delay 0
    b.push_back(0x3B);
    return b;
}

TEST(Gif, CountsFramesDelaysAndLoop) {
    auto info = inspectGif(threeFrames());
    ASSERT_TRUE(info) << info.error;
    EXPECT_TRUE(info->gif89a);
    EXPECT_EQ(info->width, 8);
    EXPECT_EQ(info->height, 6);
    EXPECT_EQ(info->delays, (std::vector<int>{10, 25, 0}));
    EXPECT_EQ(info->loopCount, 0);
}

TEST(Gif, LoopCountAbsentOrFinite) {
    Bytes once = testing::gifHeader("GIF87a", 4, 4);
    testing::gifFrame(once, 0, 0, 4, 4);
    once.push_back(0x3B);
    auto a = inspectGif(once);
    ASSERT_TRUE(a) << a.error;
    EXPECT_FALSE(a->gif89a);
    EXPECT_FALSE(a->loopCount.has_value());

    Bytes thrice = testing::gifHeader("GIF89a", 4, 4);
    testing::gifLoop(thrice, 3);
    testing::gifFrame(thrice, 0, 0, 4, 4);
    thrice.push_back(0x3B);
    auto b = inspectGif(thrice);
    ASSERT_TRUE(b) << b.error;
    EXPECT_EQ(b->loopCount, 3);
}

TEST(Gif, EveryTruncationIsRefused) {
    const Bytes full = threeFrames();
    for (std::size_t n = 0; n < full.size(); ++n)
        EXPECT_FALSE(inspectGif(std::span(full.data(), n)))
            << "accepted the first " << n << " bytes";
}

struct BadGif {
    const char* name;
    std::function<Bytes()> make;
};
class GifRefusals : public ::testing::TestWithParam<BadGif> {};

TEST_P(GifRefusals, RefusedWithAReason) {
    auto info = inspectGif(GetParam().make());
    EXPECT_FALSE(info);
    EXPECT_FALSE(info.error.empty());
}

Bytes gifWith(const std::function<void(Bytes&)>& body, bool globalTable = true) {
    Bytes b = testing::gifHeader("GIF89a", 8, 6, globalTable);
    body(b);
    b.push_back(0x3B);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, GifRefusals,
    ::testing::Values(
        BadGif{"WrongVersion", [] { return testing::gifHeader("GIF90a", 8, 6); }},
        BadGif{"ZeroScreen",
               [] {
                   Bytes b = testing::gifHeader("GIF89a", 0, 6);
                   return b;
               }},
        BadGif{"HugeScreen",
               [] {
                   Bytes b = testing::gifHeader("GIF89a", 9000, 6);
                   testing::gifFrame(b, 0, 0, 1, 1);
                   b.push_back(0x3B);
                   return b;
               }},
        BadGif{"NoFrames", [] { return gifWith([](Bytes&) {}); }},
        BadGif{"FramePastScreen",
               [] { return gifWith([](Bytes& b) { testing::gifFrame(b, 4, 0, 5, 6); }); }},
        BadGif{"EmptyFrame",
               [] { return gifWith([](Bytes& b) { testing::gifFrame(b, 0, 0, 0, 6); }); }},
        BadGif{"NoColourTable",
               [] { return gifWith([](Bytes& b) { testing::gifFrame(b, 0, 0, 8, 6); }, false); }},
        BadGif{"BadCodeSize",
               [] {
                   return gifWith([](Bytes& b) {
                       testing::gifFrame(b, 0, 0, 8, 6);
                       b[b.size() - 5] = 12;
                   });
               }},
        BadGif{"NoImageData",
               [] {
                   return gifWith([](Bytes& b) {
                       testing::gifFrame(b, 0, 0, 8, 6);
                       b.resize(b.size() - 4);
                       b.push_back(0);
                   });
               }},
        BadGif{"SubBlockPastEnd",
               [] {
                   Bytes b = testing::gifHeader("GIF89a", 8, 6);
                   testing::gifFrame(b, 0, 0, 8, 6);
                   b[b.size() - 4] = 200;  // claims 200 bytes; the file ends first
                   b.push_back(0x3B);
                   return b;
               }},
        BadGif{"ShortGraphicControl",
               [] {
                   return gifWith([](Bytes& b) {
                       b.insert(b.end(), {0x21, 0xF9, 3, 0, 10, 0, 0});
                   });
               }},
        BadGif{"UnknownBlock", [] { return gifWith([](Bytes& b) { b.push_back(0x42); }); }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- WAVE -----------------------------------------------------------------------------------

Bytes samples(std::size_t n) {
    return Bytes(n, 0x11);
}

Bytes stereo16(std::size_t frames) {
    Bytes c;
    testing::riffChunk(c, "fmt ", testing::waveFmt(1, 2, 48000, 16));
    testing::riffChunk(c, "data", samples(frames * 4));
    return testing::riff(c);
}

TEST(Wave, ReadsFormatAndDataSpan) {
    const Bytes file = stereo16(4800);
    auto info = parseWave(file);
    ASSERT_TRUE(info) << info.error;
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->sampleRate, 48000);
    EXPECT_EQ(info->bitsPerSample, 16);
    EXPECT_EQ(info->frames(), 4800u);
    EXPECT_DOUBLE_EQ(info->seconds(), 0.1);
    EXPECT_EQ(info->data.data(), file.data() + 44);
}

TEST(Wave, SkipsOtherChunksAndPadding) {
    Bytes c;
    testing::riffChunk(c, "LIST", {'I', 'N', 'F', 'O', 'x'});  // odd: one pad byte follows
    testing::riffChunk(c, "fmt ", testing::waveFmt(1, 1, 22050, 8));
    testing::riffChunk(c, "data", samples(3), false);  // the last pad may be missing
    Bytes file = testing::riff(c);
    file.insert(file.end(), {'j', 'u', 'n', 'k'});  // after the RIFF chunk: not ours
    auto info = parseWave(file);
    ASSERT_TRUE(info) << info.error;
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->frames(), 3u);
}

TEST(Wave, EveryTruncationIsRefused) {
    const Bytes full = stereo16(8);
    for (std::size_t n = 0; n < full.size(); ++n)
        EXPECT_FALSE(parseWave(std::span(full.data(), n)))
            << "accepted the first " << n << " bytes";
}

struct BadWave {
    const char* name;
    std::function<Bytes()> make;
};
class WaveRefusals : public ::testing::TestWithParam<BadWave> {};

TEST_P(WaveRefusals, RefusedWithAReason) {
    auto info = parseWave(GetParam().make());
    EXPECT_FALSE(info);
    EXPECT_FALSE(info.error.empty());
}

Bytes waveWith(const Bytes& fmt, const Bytes& data) {
    Bytes c;
    testing::riffChunk(c, "fmt ", fmt);
    testing::riffChunk(c, "data", data);
    return testing::riff(c);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, WaveRefusals,
    ::testing::Values(
        BadWave{"NotRiff",
                [] {
                    Bytes b = stereo16(2);
                    b[0] = 'X';
                    return b;
                }},
        BadWave{"NotWave",
                [] {
                    Bytes b = stereo16(2);
                    b[8] = 'A';
                    return b;
                }},
        BadWave{"RiffSizePastFile",
                [] {
                    Bytes b = stereo16(2);
                    b[4] += 2;
                    return b;
                }},
        BadWave{"DataPastFile",
                [] {
                    Bytes b = stereo16(2);
                    b[40] = 0xF0;  // data chunk length far beyond the file
                    return b;
                }},
        BadWave{"FloatFormat",
                [] { return waveWith(testing::waveFmt(3, 2, 48000, 32), samples(8)); }},
        BadWave{"NoChannels",
                [] { return waveWith(testing::waveFmt(1, 0, 48000, 16), samples(8)); }},
        BadWave{"OddBits", [] { return waveWith(testing::waveFmt(1, 2, 48000, 12), samples(6)); }},
        BadWave{"BlockAlignWrong",
                [] {
                    Bytes f = testing::waveFmt(1, 2, 48000, 16);
                    f[12] = 2;
                    return waveWith(f, samples(8));
                }},
        BadWave{"ByteRateWrong",
                [] {
                    Bytes f = testing::waveFmt(1, 2, 48000, 16);
                    f[8] ^= 1;
                    return waveWith(f, samples(8));
                }},
        BadWave{"ShortFmt",
                [] {
                    Bytes f = testing::waveFmt(1, 2, 48000, 16);
                    f.resize(14);
                    return waveWith(f, samples(8));
                }},
        BadWave{"PartialFrame",
                [] { return waveWith(testing::waveFmt(1, 2, 48000, 16), samples(6)); }},
        BadWave{"NoSamples", [] { return waveWith(testing::waveFmt(1, 2, 48000, 16), {}); }},
        BadWave{"NoData",
                [] {
                    Bytes c;
                    testing::riffChunk(c, "fmt ", testing::waveFmt(1, 2, 48000, 16));
                    return testing::riff(c);
                }},
        BadWave{"NoFmt",
                [] {
                    Bytes c;
                    testing::riffChunk(c, "data", samples(8));
                    return testing::riff(c);
                }},
        BadWave{"TwoDataChunks",
                [] {
                    Bytes c;
                    testing::riffChunk(c, "fmt ", testing::waveFmt(1, 2, 48000, 16));
                    testing::riffChunk(c, "data", samples(8));
                    testing::riffChunk(c, "data", samples(8));
                    return testing::riff(c);
                }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Signatures -----------------------------------------------------------------------------

TEST(MediaKind, BySignatureOnly) {
    const struct {
        Bytes bytes;
        MediaKind kind;
    } rows[] = {
        {testing::png(rgb3x2()), MediaKind::Png},
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, MediaKind::Png},
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a}, MediaKind::Unknown},
        {testing::gifHeader("GIF87a", 1, 1), MediaKind::Gif},
        {testing::gifHeader("GIF89a", 1, 1), MediaKind::Gif},
        {testing::gifHeader("GIF88a", 1, 1), MediaKind::Unknown},
        {stereo16(1), MediaKind::Wave},
        {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, MediaKind::Unknown},
        {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}, MediaKind::Unknown},
        {{}, MediaKind::Unknown},
    };
    for (const auto& row : rows)
        EXPECT_EQ(mediaKind(row.bytes), row.kind)
            << kindName(row.kind) << ", " << row.bytes.size() << " bytes";
}

}  // namespace
}  // namespace wt::decode
