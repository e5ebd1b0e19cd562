// The .form source language (resources/forms/FORMAT.md): lexer, parser and checks, giving a typed
// tree with the line of every window, component, control and binding. Qt-free; shared by the
// form compiler, which adds identifiers and writes the resource, and by the diagram generator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/form_reader.h"

namespace wt::formsrc {

// --- Diagnostics -----------------------------------------------------------------------------

struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;

    std::string text() const;  // "file:line: message"
};

using Diagnostics = std::vector<Diagnostic>;

// --- Lexer -----------------------------------------------------------------------------------

struct Token {
    std::string text;   // the whole token with quotes and escapes resolved
    std::string key;    // before the first unquoted '=' (when hasValue)
    std::string value;  // after it
    bool hasValue = false;
    bool quoted = false;  // some part of the token was in quotes

    // A plain word: no '=' and no quotes.
    bool isWord(std::string_view word) const { return !hasValue && !quoted && text == word; }
};

// Splits one line into tokens; `#` outside quotes ends the line, `\n` inside quotes is stored as
// CR LF. On an unterminated quote or an unknown escape returns false and sets `error`.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error);

// --- Typed tree ------------------------------------------------------------------------------

enum class ControlKind { Label, Wire, Button, Terminal, PictureBox, CheckBox, Transparent };

enum EventBit : unsigned { kClicked = 1u << 0, kMouseDown = 1u << 1, kMouseUp = 1u << 2 };

// What a control kind is in the source and how it is stored.
struct KindInfo {
    std::string_view name;  // as written in the source
    ControlKind kind;
    form::Kind stored;
    std::uint32_t stateFlags;  // when not hidden
    unsigned attrs;            // Attr bits it accepts
    unsigned events;           // EventBit bits it can bind
};

const KindInfo* findKind(std::string_view name);

// Bar colours (red in the low byte) of a wire phase: edge, middle, edge.
struct Phase {
    std::string_view name;
    std::uint32_t colors[3];
};

struct Rect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Font {
    int height = 0;  // character height in pixels
    bool bold = false;
};

struct Binding {
    std::int32_t event = 0;  // form::kEvent...
    std::string eventName;   // clicked, mouseDown, mouseUp, created
    int line = 0;
};

struct Control {
    int line = 0;
    std::string name;  // UTF-8
    const KindInfo* kind = nullptr;
    Rect rect;  // relative to the parent picture box, if any
    bool hidden = false;
    std::optional<std::string> caption;  // UTF-8; terminals get "按钮"
    std::string picture;                 // asset name; terminals default to "terminal"
    std::optional<Font> font;
    std::uint32_t color = 0, back = 0xFFFFFF, border = 0x808080;
    const Phase* phase = nullptr;  // wires only, default ctl
    std::string parent;            // picture box declared earlier, empty for the window
    std::optional<std::uint32_t> explicitId;
    std::vector<Binding> bindings;
    std::string part, hint, spoken;  // what a screen reader says (UTF-8); see FORMAT.md
};

// A part of the circuit drawing: drawn into the diagram, and the place terminals are described by.
struct Component {
    int line = 0;
    std::string label;  // QS, FU1, KM, SB1, M, ...
    std::string type;   // switch, contactor, relay, fuse, pushbutton, coil, auxcontact, motor, text
    Rect rect;
    std::string caption;  // UTF-8, may be empty
};

struct Window {
    std::string file;
    int line = 0;
    std::string name;
    std::int32_t width = 0, height = 0;
    std::string background;
    std::vector<Binding> bindings;  // `created` only
    std::vector<Component> components;
    std::vector<Control> controls;  // creation order

    const Control* control(std::string_view name) const;
    // A control's rectangle in window coordinates (its parents' offsets added).
    Rect windowRect(const Control& c) const;
};

// --- Parser ----------------------------------------------------------------------------------

// Parses and checks one form's text; `file` names it in diagnostics. Returns nothing when any
// diagnostic was added.
std::optional<Window> parse(std::string_view text, const std::string& file,
                            Diagnostics& diagnostics);
// Reads `path` and parses it. With `nameFromFile` the window must be named after the file, as the
// form compiler requires of the program's forms.
std::optional<Window> read(const std::string& path, Diagnostics& diagnostics,
                           bool nameFromFile = false);

// Decimal or 0x hexadecimal, optionally negative, within [lo, hi].
std::optional<std::int64_t> parseNumber(std::string_view s, std::int64_t lo, std::int64_t hi);

}  // namespace wt::formsrc
