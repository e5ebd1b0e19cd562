// The constant area as embedded in the program: every media blob holds the file its role
// promises, every text is the exact GBK byte string, and damaged blobs are refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "resources/media.h"
#include "resources/resident.h"
#include "ui/media/gif_info.h"
#include "ui/media/media_kind.h"
#include "ui/media/png_decode.h"
#include "ui/media/wave.h"

namespace wt::media {
namespace {

using decode::MediaKind;

struct Expected {
    Role role;
    MediaKind kind;
    int width = 0, height = 0;  // pictures
    int frames = 0;             // animations
    int rate = 0;               // sounds
    double seconds = 0;
};

const Expected kCatalogue[] = {
    {Role::SwitchClosed, MediaKind::Png, 340, 310},
    {Role::SwitchOpen, MediaKind::Png, 340, 310},
    {Role::SwitchCloseSound, MediaKind::Wave, 0, 0, 0, 48000, 0.91},
    {Role::SwitchOpenSound, MediaKind::Wave, 0, 0, 0, 48000, 0.60},
    {Role::ContactorReleased, MediaKind::Png, 505, 505},
    {Role::ContactorPulledIn, MediaKind::Png, 505, 505},
    {Role::MotorAtRest, MediaKind::Png, 619, 431},
    {Role::MotorForward, MediaKind::Gif, 620, 434, 69},
    {Role::MotorReverse, MediaKind::Gif, 620, 434, 68},
    {Role::StartSound1, MediaKind::Wave, 0, 0, 0, 48000, 2.05},
    {Role::StartSound2, MediaKind::Wave, 0, 0, 0, 44100, 6.01},
    {Role::StopSound1, MediaKind::Wave, 0, 0, 0, 48000, 1.90},
    {Role::StopSound2, MediaKind::Wave, 0, 0, 0, 44100, 2.75},
};
static_assert(std::size(kCatalogue) == static_cast<std::size_t>(Role::Count));

class Catalogue : public ::testing::TestWithParam<Expected> {};

TEST_P(Catalogue, BlobHoldsTheFileOfItsRole) {
    const Expected& want = GetParam();
    const MediaRef ref = blob(want.role);
    auto file = mediaFile(ref);
    ASSERT_TRUE(file) << "marker or length of the blob is wrong";
    EXPECT_EQ(ref.extent, file->size() + 8) << "the extent must end where the file ends";
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ref.blob) % 4, 0u);
    EXPECT_EQ(roleOf(ref), want.role);
    ASSERT_EQ(decode::mediaKind(*file), want.kind);

    switch (want.kind) {
        case MediaKind::Png: {
            auto header = decode::readPngHeader(*file);
            ASSERT_TRUE(header) << header.error;
            EXPECT_EQ(header->bitDepth, 8);
            EXPECT_EQ(header->colorType, 2) << "8-bit RGB";
            auto image = decode::decodePng(*file);
            ASSERT_TRUE(image) << image.error;
            EXPECT_EQ(image->width, want.width);
            EXPECT_EQ(image->height, want.height);
            break;
        }
        case MediaKind::Gif: {
            auto gif = decode::inspectGif(*file);
            ASSERT_TRUE(gif) << gif.error;
            EXPECT_TRUE(gif->gif89a);
            EXPECT_EQ(gif->width, want.width);
            EXPECT_EQ(gif->height, want.height);
            EXPECT_EQ(gif->frameCount(), want.frames);
            EXPECT_EQ(gif->delays, std::vector<int>(want.frames, 10)) << "0.10 s per frame";
            EXPECT_EQ(gif->loopCount, 0) << "loops for ever";
            break;
        }
        case MediaKind::Wave: {
            auto wave = decode::parseWave(*file);
            ASSERT_TRUE(wave) << wave.error;
            EXPECT_EQ(wave->sampleRate, want.rate);
            EXPECT_EQ(wave->channels, 2);
            EXPECT_EQ(wave->bitsPerSample, 16);
            EXPECT_NEAR(wave->seconds(), want.seconds, 0.010);
            break;
        }
        case MediaKind::Unknown:
            FAIL();
    }
}

INSTANTIATE_TEST_SUITE_P(Roles, Catalogue, ::testing::ValuesIn(kCatalogue),
                         [](const auto& info) { return std::string(roleName(info.param.role)); });

TEST(Catalogue, RolesAreDistinct) {
    EXPECT_EQ(roleOf(MediaRef{}), Role::Count);
    EXPECT_TRUE(blob(Role::Count).empty());
    const MediaRef first = blob(Role::SwitchClosed);
    EXPECT_EQ(roleOf(MediaRef{first.blob, first.extent - 1}), Role::Count);
    for (int a = 0; a < int(Role::Count); ++a)
        for (int b = a + 1; b < int(Role::Count); ++b) {
            EXPECT_NE(blob(Role(a)).blob, blob(Role(b)).blob);
            EXPECT_NE(roleName(Role(a)), roleName(Role(b)));
        }
}

// --- Texts ----------------------------------------------------------------------------------

TEST(Texts, AreTheirGbkBytes) {
    const struct {
        const char* text;
        const char* gbk;  // hard-coded GBK, independent of the generator
    } rows[] = {
        {text::kConnectWires, "\xC7\xEB\xC1\xAC\xCF\xDF"},                     // 请连线
        {text::kClosePower, "\xC7\xEB\xBA\xCF\xC9\xCF\xB5\xE7\xD4\xB4"},       // 请合上电源
        {text::kMotorForward, "\xB5\xE7\xBB\xFA\xD5\xFD\xD7\xAA"},             // 电机正转
        {text::kMotorReverse, "\xB5\xE7\xBB\xFA\xB7\xB4\xD7\xAA"},             // 电机反转
        {text::kMotorStarting, "\xB5\xE7\xBB\xFA\xC6\xF4\xB6\xAF\xD6\xD0"},    // 电机启动中
        {text::kMotorStopped, "\xB5\xE7\xBB\xFA\xCD\xA3\xD6\xB9"},             // 电机停止
        {text::kMotorHasStopped, "\xB5\xE7\xBB\xFA\xD2\xD1\xCD\xA3\xD6\xB9"},  // 电机已停止
        {text::kPowerOn, "\xCD\xA8\xB5\xE7\xD4\xB4\xC1\xCB"},                  // 通电源了
        {text::kPowerOff, "\xD2\xD1\xB6\xCF\xB5\xE7"},                         // 已断电
        {text::kMark, "1"},
        {text::kEmpty, ""},
    };
    for (const auto& row : rows) EXPECT_STREQ(row.text, row.gbk);
}

TEST(Texts, NumberedConnectMessages) {
    EXPECT_EQ(text::kConnectWiresN[0], nullptr);
    for (int i = 1; i <= 9; ++i) {
        ASSERT_NE(text::kConnectWiresN[i], nullptr);
        const std::string want = std::string("\xC7\xEB\xC1\xAC\xCF\xDF") + char('0' + i);
        EXPECT_STREQ(text::kConnectWiresN[i], want.c_str());
    }
}

// --- Damaged blobs --------------------------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;

// A copy of a real blob, 4-byte aligned like the constant area.
struct BlobCopy {
    std::vector<std::uint32_t> words;
    std::size_t extent = 0;

    explicit BlobCopy(Role role) {
        const MediaRef ref = blob(role);
        extent = ref.extent;
        words.resize((extent + 3) / 4);
        std::memcpy(words.data(), ref.blob, extent);
    }
    std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(words.data()); }
    std::uint8_t* file() { return bytes() + 8; }
    std::uint32_t length() const { return words[1]; }
    void setLength(std::uint32_t n) { words[1] = n; }
    MediaRef ref() { return {bytes(), extent}; }
};

std::uint32_t readBe32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
void writeBe32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24), p[1] = std::uint8_t(v >> 16), p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}
// Rewrites the IHDR CRC so that only the changed field is wrong, not the checksum.
void fixIhdrCrc(std::uint8_t* png) {
    writeBe32(png + 29, crc32(0L, png + 12, 17));
}

// What the program does with a blob it is handed: find the file, then let the checker or decoder
// of the file's kind judge it.
bool accepted(MediaRef ref) {
    auto file = mediaFile(ref);
    if (!file) return false;
    switch (decode::mediaKind(*file)) {
        case MediaKind::Png:
            return bool(decode::decodePng(*file));
        case MediaKind::Gif:
            return bool(decode::inspectGif(*file));
        case MediaKind::Wave:
            return bool(decode::parseWave(*file));
        case MediaKind::Unknown:
            break;
    }
    return false;
}

struct Damage {
    const char* name;
    Role role;
    std::function<void(BlobCopy&)> apply;
    bool accepted = false;
};

class DamagedBlob : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedBlob, IsJudgedRightly) {
    BlobCopy copy(GetParam().role);
    GetParam().apply(copy);
    EXPECT_EQ(accepted(copy.ref()), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedBlob,
    ::testing::Values(
        // The untouched copies pass, so every refusal below is caused by its damage alone.
        Damage{"IntactPng", Role::ContactorReleased, [](BlobCopy&) {}, true},
        Damage{"IntactGif", Role::MotorForward, [](BlobCopy&) {}, true},
        Damage{"IntactWave", Role::StopSound2, [](BlobCopy&) {}, true},
        Damage{"MarkerZero", Role::SwitchOpen, [](BlobCopy& b) { b.words[0] = 0; }},
        Damage{"MarkerTwo", Role::StartSound1, [](BlobCopy& b) { b.words[0] = 2; }},
        Damage{"LengthPastExtent", Role::SwitchClosed,
               [](BlobCopy& b) { b.setLength(b.length() + 1); }},
        Damage{"LengthHuge", Role::MotorAtRest, [](BlobCopy& b) { b.setLength(0xFFFFFFF8u); }},
        Damage{"ExtentBelowHeader", Role::SwitchClosed, [](BlobCopy& b) { b.extent = 7; }},
        Damage{"NoFileKind", Role::MotorAtRest, [](BlobCopy& b) { b.file()[1] = 'X'; }},
        Damage{"TruncatedPng", Role::SwitchClosed,
               [](BlobCopy& b) { b.setLength(b.length() / 2); }},
        Damage{"PngWithoutEnd", Role::ContactorPulledIn,
               [](BlobCopy& b) { b.setLength(b.length() - 12); }},
        Damage{"CorruptedIhdr", Role::MotorAtRest, [](BlobCopy& b) { b.file()[18] ^= 0x01; }},
        Damage{"HugePngDimensions", Role::ContactorReleased,
               [](BlobCopy& b) {
                   writeBe32(b.file() + 16, 60000);
                   writeBe32(b.file() + 20, 60000);
                   fixIhdrCrc(b.file());
               }},
        Damage{"PngWidthDisagreesWithData", Role::SwitchOpen,
               [](BlobCopy& b) {
                   writeBe32(b.file() + 16, readBe32(b.file() + 16) * 2);
                   fixIhdrCrc(b.file());
               }},
        Damage{"TruncatedGif", Role::MotorReverse,
               [](BlobCopy& b) { b.setLength(b.length() - 100); }},
        Damage{"GifWithoutTrailer", Role::MotorForward,
               [](BlobCopy& b) { b.setLength(b.length() - 1); }},
        Damage{"GifScreenZero", Role::MotorForward,
               [](BlobCopy& b) { b.file()[6] = b.file()[7] = 0; }},
        Damage{"TruncatedWave", Role::StartSound2,
               [](BlobCopy& b) { b.setLength(b.length() - 2); }},
        Damage{"WaveDataRunsPastFile", Role::SwitchCloseSound,
               [](BlobCopy& b) {
                   // The data chunk's length field sits at byte 40 of these files.
                   std::uint8_t* size = b.file() + 40;
                   const std::uint32_t v =
                       size[0] | (size[1] << 8) | (size[2] << 16) | (size[3] << 24);
                   const std::uint32_t grown = v + 400;
                   std::memcpy(size, &grown, 4);
               }},
        Damage{"WaveNotPcm", Role::StopSound1, [](BlobCopy& b) { b.file()[20] = 3; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Releasing the pages of embedded bytes drops only whole pages inside the span from the resident
// set, leaves the pages it shares with other data alone, and never changes a byte.
bool resident(const std::uint8_t* at) {
    const long page = sysconf(_SC_PAGESIZE);
    const int fd = open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    std::uint64_t entry = 0;
    const off_t where = static_cast<off_t>(reinterpret_cast<std::uintptr_t>(at) / page * 8);
    const bool read = pread(fd, &entry, sizeof entry, where) == sizeof entry;
    close(fd);
    return !read || (entry >> 63) != 0;
}

std::uint32_t checksum(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

// Memory about to be written whole is mapped in ahead, every page the span touches, its bytes
// as they were.
TEST(ResidentPages, PopulatedOverTheWholeSpanWithBytesKept) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t size = 200 * page;
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    auto* bytes = static_cast<std::uint8_t*>(mapped);
    std::memset(bytes, 0x5A, 3 * page);  // written before: must survive
    const std::span<const std::uint8_t> span(bytes + 100, 150 * page);  // unaligned ends
    if (populatePages(span)) {
        for (std::size_t at = 0; at < 151 * page; at += page)
            EXPECT_TRUE(resident(bytes + at)) << at / page;
        EXPECT_FALSE(resident(bytes + 160 * page));
        for (std::size_t at = 0; at < 3 * page; ++at) ASSERT_EQ(bytes[at], 0x5A) << at;
    }
    munmap(mapped, size);
}

TEST(ResidentPages, ReleasedInsideTheSpanOnlyAndBytesKept) {
    const std::span<const std::uint8_t> all = area();
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const auto file = [](Role role) { return *mediaFile(blob(role)); };
    struct Row {
        const char* what;
        std::span<const std::uint8_t> span;
    } rows[] = {
        {"every blob", all},
        {"one sound", file(Role::StartSound2)},
        {"three pages and a bit, unaligned", file(Role::StopSound2).subspan(1000, 3 * page + 17)},
        {"less than a page", file(Role::SwitchOpen).subspan(10, 100)},
        {"nothing", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::uint32_t before = checksum(all);  // every page read, so mapped in
        releasePages(row.span);
        const auto first = reinterpret_cast<std::uintptr_t>(row.span.data());
        const std::uintptr_t inner = (first + page - 1) / page * page;
        const std::uintptr_t end = (first + row.span.size()) / page * page;
        for (std::uintptr_t at = inner; at < end; at += page)
            ASSERT_FALSE(resident(reinterpret_cast<const std::uint8_t*>(at))) << at - first;
        // The partial pages at either end (shared with the neighbours) stay.
        if (!row.span.empty() && first % page != 0) {
            EXPECT_TRUE(resident(row.span.data()));
        }
        if (!row.span.empty() && (first + row.span.size()) % page != 0) {
            EXPECT_TRUE(resident(row.span.data() + row.span.size() - 1));
        }
        EXPECT_EQ(checksum(all), before);
    }
}

}  // namespace
}  // namespace wt::media
