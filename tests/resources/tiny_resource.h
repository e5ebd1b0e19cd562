// A small form that uses every stored kind but the check box, and the resource formc must make
// of it, written out field by field with hand-counted sizes. The compiler test compares formc's
// output with it byte for byte; the reader tests parse it and corrupt it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace formtest {

inline constexpr std::string_view kTinyForm =
    "window Tiny 320 200 background=pic on created\n"
    "control 框 picturebox 10 20 100 80\n"
    "control 线1 wire 5 6 30 2 parent=框 phase=L1\n"
    "control k1 button 1 2 24 24 caption=\"按钮\" font=19,bold on clicked on mouseDown on mouseUp\n"
    "control 透明标签1 transparent 3 4 50 60 hidden on mouseDown\n";

// Only the signature matters to formc.
inline constexpr std::string_view kTinyPicture{"\x89PNG\r\n\x1a\nxy", 10};

inline constexpr std::size_t kTinyHandlerCount = 5;

// Positions in the tiny resource (from its start) that the corruption tests aim at.
namespace at {
inline constexpr std::size_t kTableSize = 0, kWindowId = 4;
inline constexpr std::size_t kModuleId = 16, kRecordCount = 28, kBlockSize = 32;
inline constexpr std::size_t kRecordIds = 36, kRecordOffsets = 56;
// Records (their size fields): window, 框, 线1, k1, 透明标签1.
inline constexpr std::size_t kRecord[5] = {76, 185, 282, 468, 657};
inline constexpr std::size_t kEnd = 761;
// Fields inside records.
inline constexpr std::size_t kWindowKind = 80, kWindowPictureLength = 171;
inline constexpr std::size_t kBoxKind = 189, kBoxWidth = 229, kBoxChildCount = 245, kBoxChild = 249,
                             kBoxPointerSize = 253;
inline constexpr std::size_t kWireParent = 339, kWireFontSize = 400, kWireFace = 432;
inline constexpr std::size_t kButtonEventCount = 553, kButtonEvents = 557,
                             kButtonCaptionLength = 649;
inline constexpr std::size_t kTransparentEvent = 753, kTransparentHandler = 757;
}  // namespace at

class Expect {
  public:
    Expect& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    Expect& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    Expect& zeros(std::size_t n) {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    Expect& raw(std::string_view s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    Expect& u8s(std::initializer_list<std::uint8_t> v) {
        bytes.insert(bytes.end(), v);
        return *this;
    }

    // The common head of a ControlRecord, from the record size to the last event binding.
    Expect& head(std::uint32_t size, std::uint32_t kind, std::string_view nameGbk,
                 std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                 std::uint32_t parent, std::initializer_list<std::uint32_t> children,
                 std::uint32_t stateFlags,
                 std::initializer_list<std::pair<std::int32_t, std::uint32_t>> events) {
        u32(size).u32(kind).zeros(20).raw(nameGbk).zeros(1).zeros(1);  // name, empty remark
        u32(0).i32(left).i32(top).i32(width).i32(height).u32(0);
        u32(parent).u32(static_cast<std::uint32_t>(children.size()));
        for (std::uint32_t c : children) u32(c);
        u32(4).u32(0).zeros(5);  // pointer data
        u32(stateFlags).u32(0).u32(static_cast<std::uint32_t>(events.size()));
        for (auto [event, handler] : events) i32(event).u32(handler);
        return *this;
    }
    // u32 60 and the LOGFONT: 宋体, GB2312.
    Expect& font(std::int32_t height, std::int32_t weight) {
        u32(60).i32(height).i32(0).i32(0).i32(0).i32(weight);
        u8s({0, 0, 0, 134, 0, 0, 0, 0});
        return raw("\xCB\xCE\xCC\xE5").zeros(28);
    }

    std::vector<std::uint8_t> bytes;
};

inline std::vector<std::uint8_t> tinyResource() {
    Expect e;
    e.u32(8).u32(0x52000001).u32(0);  // identifier table: one window
    // WindowBlock: reserved, module, reserved x2, 5 records, 8 x 5 + 685 bytes.
    e.u32(0).u32(0x19000001).u32(0).u32(0).u32(5).u32(725);
    e.u32(0x06000001).u32(0x16000005).u32(0x16000004).u32(0x16000003).u32(0x16000002);
    e.u32(0).u32(109).u32(206).u32(392).u32(581);
    // The window: created -> handler 0; background picture.
    e.head(105, 0x00010001, "", 50, 50, 320, 200, 0, {}, 1, {{0, 0}});
    e.u32(10).raw(kTinyPicture);
    // 框: picture box holding 线1, no picture.
    e.head(93, 0x00010006, "\xBF\xF2", 10, 20, 100, 80, 0, {0x16000004}, 1, {});
    e.u32(0);
    // 线1: wire bar of phase L1 inside 框: common colours, bar mode, bar colours, default font,
    // no caption.
    e.head(182, 0x0001000A,
           "\xCF\xDF"
           "1",
           5, 6, 30, 2, 0x16000005, {}, 1, {});
    e.u32(0x808080).u32(0xFFFFFF).u32(0x808080).u32(1);
    e.u32(0x00FFFF).u32(0x00A000).u32(0x00FFFF);
    e.font(-12, 400).u32(0);
    // k1: button with three events, no picture, bold 19 px, caption 按钮.
    e.head(185, 0x0001000B, "k1", 1, 2, 24, 24, 0, {}, 5, {{0, 1}, {-1, 2}, {-2, 3}});
    e.u32(0).font(-19, 700).u32(4).raw("\xB0\xB4\xC5\xA5");
    // 透明标签1: hidden, mouseDown -> handler 4, no tail.
    e.head(100, 0x00020005,
           "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9"
           "1",
           3, 4, 50, 60, 0, {}, 0, {{-1, 4}});
    return e.bytes;
}

}  // namespace formtest
