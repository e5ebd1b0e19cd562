// Reader of the binary FormResource: the identifier table, one WindowBlock per window and one
// ControlRecord per window and control. The reader validates the whole resource once and trusts
// no length, count, offset or identifier in it; every span it hands out lies inside the input.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wt::form {

// Identifier top bytes.
inline constexpr std::uint32_t kWindowIdTag = 0x52;
inline constexpr std::uint32_t kWindowRecordTag = 0x06;
inline constexpr std::uint32_t kControlTag = 0x16;
inline constexpr std::uint32_t kModuleTag = 0x19;

inline constexpr std::uint32_t idTag(std::uint32_t id) {
    return id >> 24;
}

// Stored control kinds: high 16 bits the control library, low 16 bits the kind within it.
enum class Kind : std::uint32_t {
    Window = 0x00010001,
    Label = 0x0001000A,
    Button = 0x0001000B,
    PictureBox = 0x00010006,
    CheckBox = 0x0001000C,
    TransparentLabel = 0x00020005,
};

// Event numbers as stored in the bindings.
inline constexpr std::int32_t kEventClicked = 0;  // also the window-created notification
inline constexpr std::int32_t kEventMouseDown = -1;
inline constexpr std::int32_t kEventMouseUp = -2;

// State flag bits.
inline constexpr std::uint32_t kStateVisible = 1u << 0;
inline constexpr std::uint32_t kStateFocusable = 1u << 2;

struct Geometry {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
};

struct EventBinding {
    std::int32_t event = 0;
    std::uint32_t handler = 0;  // handler number (index into the program's handler list)
};

// The 60-byte font description (LOGFONT layout).
struct FontRecord {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 400;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 134;
    std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string faceGbk;  // up to 31 bytes, GBK
};

struct ControlRecord {
    std::uint32_t id = 0;  // from the block's identifier table
    Kind kind = Kind::Label;
    std::string nameGbk;  // empty for the window's own record
    Geometry geometry;
    std::uint32_t parent = 0;  // identifier of the containing control, 0 for the window
    std::vector<std::uint32_t> children;
    std::uint32_t stateFlags = 0;
    std::vector<EventBinding> events;

    // Kind-specific tail.
    std::span<const std::uint8_t> picture;  // PNG bytes (window, picture box, button); may be empty
    std::string captionGbk;                 // label, button, check box
    std::uint32_t textColor = 0;            // label: caption colour (red in the low byte)
    std::uint32_t backColor = 0xFFFFFF;     // label
    std::uint32_t borderColor = 0x808080;   // label
    std::uint32_t barMode = 0;              // wire bars: non-zero = draw as a bar
    std::uint32_t barColors[3] = {0, 0, 0};  // wire bars: edge, middle, edge
    std::optional<FontRecord> font;          // label, button, check box

    bool visibleAtCreation() const { return (stateFlags & kStateVisible) != 0; }
    bool isWireBar() const { return kind == Kind::Label && barMode != 0; }
};

struct WindowBlock {
    std::uint32_t windowId = 0;
    std::uint32_t moduleId = 0;
    // records[0] is the window's own record, then the controls in stored order.
    std::vector<ControlRecord> records;

    const ControlRecord& window() const { return records.front(); }
    // Index into `records` of the record with this identifier, or -1.
    int indexOfId(std::uint32_t id) const;
};

class FormResource {
  public:
    // Parses and validates the whole resource. On failure returns nothing and, when `error` is
    // given, a sentence saying what is wrong and where. `handlerCount` is the number of handler
    // routines the program has: a binding to a larger number is refused.
    static std::optional<FormResource> parse(std::span<const std::uint8_t> bytes,
                                             std::size_t handlerCount,
                                             std::string* error = nullptr);

    // A resource made directly from blocks (tests of the model build small windows this way).
    static FormResource fromBlocks(std::vector<WindowBlock> blocks) {
        FormResource r;
        r.blocks_ = std::move(blocks);
        return r;
    }

    const WindowBlock* find(std::uint32_t windowId) const;  // linear search of the id table
    const std::vector<WindowBlock>& blocks() const { return blocks_; }

  private:
    std::vector<WindowBlock> blocks_;
};

}  // namespace wt::form
