// The PNG and GIF writers, checked by decoding their output with the libraries' own readers.
#include <gtest/gtest.h>
#include <png.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "assets/gif_write.h"
#include "assets/png_write.h"
#include "image_io.h"

namespace wt::assets {
namespace {

namespace fs = std::filesystem;

QImage noise(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, rng() & 0xFFFFFF);
    return img;
}

TEST(PngWriter, StoresEveryPixelExactly) {
    const QImage img = noise(37, 23, 7);  // odd sizes catch row stride mistakes
    auto decoded = test::decodePng(encodePng(img));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, 37);
    ASSERT_EQ(decoded->height, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(decoded->at(x, y), img.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
}

TEST(PngWriter, FlattensAlphaOverWhite) {
    QImage img(4, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 0, 0, 255));
    img.setPixel(1, 0, qRgba(0, 0, 0, 0));
    img.setPixel(2, 0, qRgba(0, 0, 0, 128));
    img.setPixel(3, 0, qRgba(0, 0, 255, 255));
    auto decoded = test::decodePng(encodePng(img));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->at(0, 0), 0xFF0000u);
    EXPECT_EQ(decoded->at(1, 0), 0xFFFFFFu);
    EXPECT_NEAR(static_cast<int>(decoded->at(2, 0) & 0xFF), 127, 2);
    EXPECT_EQ(decoded->at(3, 0), 0x0000FFu);
}

// Frames drawn from a few flat colours, as the animations are: the palette holds them exactly,
// so every composed frame must equal its input pixel for pixel.
std::vector<QImage> flatFrames() {
    std::vector<QImage> frames;
    const QColor colours[] = {Qt::white, Qt::red, Qt::darkGreen, Qt::blue, Qt::black};
    for (int k = 0; k < 6; ++k) {
        QImage f(64, 40, QImage::Format_RGB32);
        f.fill(Qt::white);
        QPainter p(&f);
        p.fillRect(QRect(4 + k * 7, 6, 10, 12), colours[1 + k % 4]);
        p.fillRect(QRect(0, 30, 64, 10), colours[4]);
        if (k == 4) p.fillRect(QRect(63, 0, 1, 1), colours[2]);  // a change in the far corner
        frames.push_back(f);
    }
    frames.push_back(frames.back());   // an unchanged frame
    frames.push_back(frames.front());  // back to the start
    return frames;
}

TEST(GifWriter, ComposedFramesEqualTheInput) {
    const std::vector<QImage> frames = flatFrames();
    auto gif = test::readGif(encodeGif(frames, 10, 0));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->signature, "GIF89a");
    EXPECT_EQ(gif->loopCount, 0);
    EXPECT_TRUE(gif->framesInside);
    ASSERT_EQ(gif->composed.size(), frames.size());
    for (std::size_t k = 0; k < frames.size(); ++k)
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(gif->composed[k].at(x, y), frames[k].pixel(x, y) & 0xFFFFFFu)
                    << "frame " << k << " at " << x << "," << y;
}

TEST(GifWriter, DelayAndLoopCountAreWrittenAsGiven) {
    auto gif = test::readGif(encodeGif(flatFrames(), 25, 3));
    ASSERT_TRUE(gif);
    for (int d : gif->delays) EXPECT_EQ(d, 25);
    EXPECT_EQ(gif->loopCount, 3);
}

TEST(GifWriter, ManyColoursAreApproximatedClosely) {
    // A smooth gradient with thousands of colours must come out near the input everywhere.
    QImage img(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) img.setPixel(x, y, qRgb(x, 255 - x, y * 4));
    auto gif = test::readGif(encodeGif({img}, 10, 0));
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->composed.size(), 1u);
    EXPECT_EQ(test::differingShare(gif->composed[0], *test::decodePng(encodePng(img)), 24), 0.0);
}

TEST(GifWriter, RefusesFramesOfDifferentSizes) {
    EXPECT_TRUE(
        encodeGif({QImage(8, 8, QImage::Format_RGB32), QImage(8, 9, QImage::Format_RGB32)}, 10, 0)
            .empty());
    EXPECT_TRUE(encodeGif({}, 10, 0).empty());
}

TEST(PaletteBuilder, KeepsFewColoursExactly) {
    QImage img(3, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, 0x123456);
    img.setPixel(1, 0, 0xABCDEF);
    img.setPixel(2, 0, 0x123456);
    const Palette palette = buildPalette({img});
    ASSERT_EQ(palette.colours.size(), 2u);
    EXPECT_EQ(palette.colours[palette.nearest(0xABCDEF)],
              (std::array<std::uint8_t, 3>{0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(palette.colours[palette.nearest(0x123457)],
              (std::array<std::uint8_t, 3>{0x12, 0x34, 0x56}));
}

TEST(WriteIfDifferent, LeavesAnUnchangedFileAlone) {
    const fs::path dir = fs::path(::testing::TempDir()) / "wt_write_if_different";
    fs::create_directories(dir);
    const std::string path = (dir / "a.png").string();
    std::string error;
    ASSERT_TRUE(writeIfDifferent(path, {1, 2, 3}, &error)) << error;
    const auto first = fs::last_write_time(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(writeIfDifferent(path, {1, 2, 3}, &error)) << error;
    EXPECT_EQ(fs::last_write_time(path), first);
    ASSERT_TRUE(writeIfDifferent(path, {4, 5}, &error)) << error;
    EXPECT_EQ(test::readFile(path), (std::vector<unsigned char>{4, 5}));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_FALSE(writeIfDifferent((dir / "missing" / "b.png").string(), {1}, &error));
    EXPECT_FALSE(error.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace wt::assets
