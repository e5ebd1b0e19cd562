// The reader on the hand-written tiny resource: every field decoded, and every corruption refused
// with a sentence, never a crash or a read outside the input.
#include "resources/form_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tiny_resource.h"

using namespace formtest;
using wt::form::FormResource;
using wt::form::Kind;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t get(const Bytes& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{b.at(at + i)} << (8 * i);
    return v;
}

TEST(FormReader, DecodesEveryFieldOfTheTinyResource) {
    const Bytes bytes = tinyResource();
    std::string error;
    auto res = FormResource::parse(bytes, kTinyHandlerCount, &error);
    ASSERT_TRUE(res) << error;
    ASSERT_EQ(res->blocks().size(), 1u);
    const auto* block = res->find(0x52000001);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->moduleId, 0x19000001u);
    ASSERT_EQ(block->records.size(), 5u);

    const auto& win = block->window();
    EXPECT_EQ(win.kind, Kind::Window);
    EXPECT_EQ(win.geometry.top, 50);
    EXPECT_EQ(win.geometry.width, 320);
    EXPECT_EQ(std::string(win.picture.begin(), win.picture.end()), kTinyPicture);
    EXPECT_GE(win.picture.data(), bytes.data());
    EXPECT_LE(win.picture.data() + win.picture.size(), bytes.data() + bytes.size());

    const auto& box = block->records[1];
    EXPECT_EQ(box.nameGbk, "\xBF\xF2");
    EXPECT_EQ(box.children, std::vector<std::uint32_t>{0x16000004});
    EXPECT_TRUE(box.picture.empty());

    const auto& wire = block->records[2];
    EXPECT_EQ(wire.parent, 0x16000005u);
    EXPECT_EQ(wire.geometry.left, 5);
    EXPECT_EQ(wire.geometry.height, 2);
    EXPECT_EQ(wire.barMode, 1u);
    EXPECT_EQ(wire.barColors[1], 0x00A000u);
    ASSERT_TRUE(wire.font);
    EXPECT_EQ(wire.font->height, -12);
    EXPECT_EQ(wire.font->faceGbk, "\xCB\xCE\xCC\xE5");

    const auto& button = block->records[3];
    EXPECT_EQ(button.stateFlags, 5u);
    EXPECT_EQ(button.captionGbk, "\xB0\xB4\xC5\xA5");
    ASSERT_TRUE(button.font);
    EXPECT_EQ(button.font->weight, 700);
    ASSERT_EQ(button.events.size(), 3u);
    EXPECT_EQ(button.events[2].event, -2);
    EXPECT_EQ(button.events[2].handler, 3u);

    const auto& area = block->records[4];
    EXPECT_EQ(area.kind, Kind::TransparentLabel);
    EXPECT_FALSE(area.visibleAtCreation());
    EXPECT_EQ(area.events.at(0).handler, 4u);
    EXPECT_EQ(block->indexOfId(0x16000002), 4);
    EXPECT_EQ(block->indexOfId(0x16000099), -1);
}

TEST(FormReader, LocatesRecordsThroughTheOffsetTableWhateverTheIdentifierOrder) {
    Bytes bytes = tinyResource();
    put(bytes, at::kRecordIds + 16, 0x16000009);  // the last control gets the largest id
    std::string error;
    auto res = FormResource::parse(bytes, kTinyHandlerCount, &error);
    ASSERT_TRUE(res) << error;
    const auto& block = res->blocks()[0];
    EXPECT_EQ(block.indexOfId(0x16000009), 4);
    EXPECT_EQ(block.records[4].kind, Kind::TransparentLabel);
}

struct Corruption {
    const char* what;
    std::function<void(Bytes&)> change;
    const char* message;  // part of the refusal sentence
    std::size_t handlerCount = kTinyHandlerCount;
};

std::vector<Corruption> corruptions() {
    using namespace at;
    auto set = [](std::size_t at, std::uint32_t v) { return [=](Bytes& b) { put(b, at, v); }; };
    const std::size_t r4 = kRecord[4];
    return {
        {"table size not a multiple of 8", set(kTableSize, 7), "not 8 times"},
        {"table size 0", set(kTableSize, 0), "not 8 times"},
        {"table past the end", set(kTableSize, 0x10000), "runs past the end"},
        {"window id of another kind", set(kWindowId, 0x16000001), "top byte 0x52"},
        {"module id of another kind", set(kModuleId, 0x52000001), "top byte 0x19"},
        {"record count too large", set(kRecordCount, 1000), "record count 1000"},
        {"record count 0", set(kRecordCount, 0), "record count 0"},
        {"block past the end", set(kBlockSize, 726), "block size 726 runs past the end"},
        {"block shorter than its records", set(kBlockSize, 724), "past the end of the block"},
        {"window record id of another kind", set(kRecordIds, 0x16000001), "top byte 0x06"},
        {"control id of another kind", set(kRecordIds + 4, 0x06000005), "top byte 0x16"},
        {"duplicate record id", set(kRecordIds + 8, 0x16000005), "appears twice"},
        {"first offset not 0", set(kRecordOffsets, 4), "offset 4"},
        {"offsets not ascending",
         [](Bytes& b) {
             put(b, kRecordOffsets + 4, 206);
             put(b, kRecordOffsets + 8, 109);
         },
         "must start at 109"},
        {"offset out of range", set(kRecordOffsets + 16, 0xFFFFFFF0), "offset"},
        {"record size past the block", set(r4, 101), "runs past the end of the block"},
        {"record size cuts the last field", set(r4, 99), "runs past the end of the record"},
        {"bytes after the kind's tail",
         [=](Bytes& b) {
             b.insert(b.end(), 4, 0);
             put(b, r4, 104);
             put(b, kBlockSize, get(b, kBlockSize) + 4);
         },
         "4 bytes follow the end of the kind's tail"},
        {"unknown kind", set(kBoxKind, 0x00010007), "unknown control kind 0x00010007"},
        {"window record not first", set(kWindowKind, 0x0001000A), "not the window's own record"},
        {"second window record", set(kBoxKind, 0x00010001), "only the first record"},
        {"negative width", set(kBoxWidth, 0xFFFFFFFF), "negative"},
        {"child count past the record", set(kBoxChildCount, 1000), "child count 1000"},
        {"pointer data size", set(kBoxPointerSize, 8), "pointer data size"},
        {"name without NUL", set(r4, 26), "name has no terminating NUL"},
        {"font face without NUL", [](Bytes& b) { std::memset(b.data() + kWireFace, 'A', 32); },
         "face name"},
        {"font record size", set(kWireFontSize, 59), "font record size is 59"},
        {"event count past the record", set(kButtonEventCount, 100), "event count 100"},
        {"unknown event number", set(kButtonEvents, 7), "event 7 is not valid"},
        {"event bound twice", set(kButtonEvents + 8, 0), "bound twice"},
        {"event of another kind", set(kTransparentEvent, 0), "event 0 is not valid"},
        {"handler out of range", set(kTransparentHandler, 5), "handler number 5"},
        {"handler count smaller", [](Bytes&) {}, "handler number 4", 4},
        {"caption past the record", set(kButtonCaptionLength, 5), "caption"},
        {"picture past the record", set(kWindowPictureLength, 11), "picture"},
        {"picture length huge", set(kWindowPictureLength, 0xFFFFFFFF), "picture"},
        {"parent not a picture box", set(kWireParent, 0x16000003), "parent 0x16000003"},
        {"parent unknown", set(kWireParent, 0x16000077), "parent 0x16000077"},
        {"parent no longer names the box", set(kWireParent, 0), "child 0x16000004"},
        {"child not in the block", set(kBoxChild, 0x16000077), "child 0x16000077"},
        {"bytes after the last block", [](Bytes& b) { b.push_back(0); }, "follow the last"},
        {"block size swallowing the tail",
         [](Bytes& b) {
             b.insert(b.end(), 4, 0);
             put(b, kBlockSize, get(b, kBlockSize) + 4);
         },
         "follow the last record"},
    };
}

TEST(FormReader, RefusesEveryCorruption) {
    for (const Corruption& c : corruptions()) {
        SCOPED_TRACE(c.what);
        Bytes bytes = tinyResource();
        c.change(bytes);
        std::string error;
        EXPECT_FALSE(FormResource::parse(bytes, c.handlerCount, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.rfind("Form resource", 0), 0u) << error;
        EXPECT_EQ(error.back(), '.') << error;
    }
}

TEST(FormReader, RefusesEveryTruncation) {
    const Bytes full = tinyResource();
    for (std::size_t n = 0; n < full.size(); ++n) {
        // A copy of exactly n bytes, so that ASan sees any read past it.
        Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        std::string error;
        EXPECT_FALSE(FormResource::parse(cut, kTinyHandlerCount, &error)) << n;
        EXPECT_FALSE(error.empty()) << n;
    }
}

TEST(FormReader, SurvivesEverySingleByteChange) {
    const Bytes full = tinyResource();
    for (std::size_t i = 0; i < full.size(); ++i)
        for (std::uint8_t v : {std::uint8_t{0}, std::uint8_t{0xFF}, std::uint8_t{0x80},
                               static_cast<std::uint8_t>(full[i] + 1)}) {
            Bytes bytes = full;
            bytes[i] = v;
            std::string error;
            if (!FormResource::parse(bytes, kTinyHandlerCount, &error)) {
                EXPECT_FALSE(error.empty()) << i;
            }
        }
}

}  // namespace
