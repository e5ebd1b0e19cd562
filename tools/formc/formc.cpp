// formc: compiles the .form window descriptions (UTF-8, see resources/forms/FORMAT.md) into the
// binary FormResource that the program embeds, and into form_ids.h with the window identifiers
// and the handler names in handler-number order.
//
//   formc --assets DIR --resource OUT.bin --header OUT.h [--access OUT.h]
//         [--depfile FILE --stamp FILE] FORM...
//
// Every mistake in a form is reported as "file:line: message" and makes the run fail; outputs
// are written to "<name>.tmp" first and replace the old file only when their content differs.
#include <iconv.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "resources/form_reader.h"
#include "tools/formc/access_notes.h"

namespace fs = std::filesystem;
using wt::form::Kind;

namespace {

// --- Diagnostics and text conversion ---------------------------------------------------------

std::vector<std::string> g_errors;

void error(const std::string& file, int line, const std::string& message) {
    g_errors.push_back(file + ":" + std::to_string(line) + ": " + message);
}

class GbkConverter {
  public:
    GbkConverter() : cd_(iconv_open("GBK", "UTF-8")) {}
    ~GbkConverter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    GbkConverter(const GbkConverter&) = delete;
    GbkConverter& operator=(const GbkConverter&) = delete;

    bool ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Nothing when the text is not valid UTF-8 or has a character without a GBK form.
    std::optional<std::string> convert(std::string_view utf8) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out(utf8.size() * 2 + 8, '\0');
        std::string in(utf8);
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

  private:
    iconv_t cd_;
};

GbkConverter* g_gbk = nullptr;

// --- Tokens ----------------------------------------------------------------------------------

struct Token {
    std::string text;   // the whole token with quotes and escapes resolved
    std::string key;    // before the first unquoted '=' (when hasValue)
    std::string value;  // after it
    bool hasValue = false;
    bool quoted = false;  // some part of the token was in quotes
};

// Splits a line into tokens; `#` outside quotes ends the line.
bool tokenize(const std::string& line, const std::string& file, int lineNo,
              std::vector<Token>& tokens) {
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= n || line[i] == '#') break;
        Token token;
        bool inQuotes = false;
        while (i < n) {
            char c = line[i];
            if (!inQuotes && (c == ' ' || c == '\t' || c == '\r' || c == '#')) break;
            ++i;
            if (c == '"') {
                inQuotes = !inQuotes;
                token.quoted = true;
                continue;
            }
            if (inQuotes && c == '\\') {
                if (i >= n) break;
                char e = line[i++];
                if (e == 'n') {
                    (token.hasValue ? token.value : token.key) += "\r\n";
                    token.text += "\r\n";
                    continue;
                }
                if (e == '"' || e == '\\') {
                    c = e;
                } else {
                    error(file, lineNo, std::string("unknown escape '\\") + e + "' in quoted text");
                    return false;
                }
            } else if (!inQuotes && c == '=' && !token.hasValue) {
                token.hasValue = true;
                token.text += c;
                continue;
            }
            token.text += c;
            (token.hasValue ? token.value : token.key) += c;
        }
        if (inQuotes) {
            error(file, lineNo, "unterminated quoted text");
            return false;
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

// Decimal or 0x hexadecimal, optionally negative, within [lo, hi].
std::optional<std::int64_t> parseNumber(std::string_view s, std::int64_t lo, std::int64_t hi) {
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
    if (value > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    std::int64_t v =
        negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

// --- Kinds, attributes, events ---------------------------------------------------------------

enum Attr : unsigned {
    kCaption = 1u << 0,
    kPicture = 1u << 1,
    kFont = 1u << 2,
    kColor = 1u << 3,
    kBack = 1u << 4,
    kBorder = 1u << 5,
    kPhase = 1u << 6,
    kParent = 1u << 7,
    kId = 1u << 8,
    kHidden = 1u << 9,
    kPart = 1u << 10,
    kHint = 1u << 11,
    kSpoken = 1u << 12,
};

struct AttrName {
    std::string_view name;
    Attr attr;
};
constexpr AttrName kAttrNames[] = {
    {"caption", kCaption}, {"picture", kPicture}, {"font", kFont},   {"color", kColor},
    {"back", kBack},       {"border", kBorder},   {"phase", kPhase}, {"parent", kParent},
    {"id", kId},           {"hidden", kHidden},   {"part", kPart},   {"hint", kHint},
    {"spoken", kSpoken},
};

enum EventBit : unsigned { kClicked = 1u << 0, kMouseDown = 1u << 1, kMouseUp = 1u << 2 };

struct EventName {
    std::string_view name;
    EventBit bit;
    std::int32_t number;
};
constexpr EventName kEventNames[] = {
    {"clicked", kClicked, wt::form::kEventClicked},
    {"mouseDown", kMouseDown, wt::form::kEventMouseDown},
    {"mouseUp", kMouseUp, wt::form::kEventMouseUp},
};

enum class Source { Label, Wire, Button, Terminal, PictureBox, CheckBox, Transparent };

struct KindInfo {
    std::string_view name;
    Source source;
    Kind stored;
    std::uint32_t stateFlags;  // when not hidden
    unsigned attrs;
    unsigned events;
};

constexpr unsigned kCommonAttrs = kParent | kId | kHidden;
constexpr KindInfo kKinds[] = {
    {"label", Source::Label, Kind::Label, 1,
     kCommonAttrs | kCaption | kColor | kBack | kBorder | kFont, 0},
    {"wire", Source::Wire, Kind::Label, 1, kCommonAttrs | kPhase | kCaption, 0},
    {"button", Source::Button, Kind::Button, 5,
     kCommonAttrs | kCaption | kPicture | kFont | kHint | kSpoken,
     kClicked | kMouseDown | kMouseUp},
    {"terminal", Source::Terminal, Kind::Button, 5, kCommonAttrs | kPicture | kPart | kHint,
     kClicked},
    {"picturebox", Source::PictureBox, Kind::PictureBox, 1, kCommonAttrs | kPicture, 0},
    {"checkbox", Source::CheckBox, Kind::CheckBox, 5,
     kCommonAttrs | kCaption | kFont | kHint | kSpoken, 0},
    {"transparent", Source::Transparent, Kind::TransparentLabel, 1, kCommonAttrs | kHint | kSpoken,
     kMouseDown},
};

constexpr std::string_view kComponentTypes[] = {
    "switch", "contactor", "relay", "fuse", "pushbutton", "coil", "auxcontact", "motor", "text"};

// Bar colours (red in the low byte) of the wire phases: edge, middle, edge.
struct Phase {
    std::string_view name;
    std::uint32_t colors[3];
};
constexpr Phase kPhases[] = {
    {"L1", {0x00FFFF, 0x00A000, 0x00FFFF}},   // yellow, green, yellow
    {"L2", {0x006000, 0x00FF00, 0x00A000}},   // shades of green
    {"L3", {0xCBC0FF, 0xFF00FF, 0x0000FF}},   // pink, magenta, red
    {"ctl", {0x808080, 0x800000, 0x000000}},  // grey, dark blue, black
};

constexpr std::uint32_t kWireTextColor = 0x808080;
constexpr std::uint32_t kWireBackColor = 0xFFFFFF;
constexpr std::uint32_t kWireBorderColor = 0x808080;
constexpr std::uint32_t kBarMode = 1;
constexpr int kDefaultLabelFontHeight = 12;
constexpr std::string_view kFontFace = "宋体";

// --- Parsed forms ----------------------------------------------------------------------------

struct Font {
    int height = 0;  // character height in pixels
    bool bold = false;
};

struct Binding {
    std::int32_t event = 0;
    std::string eventName;
    int line = 0;
    std::uint32_t handler = 0;
};

struct Control {
    int line = 0;
    std::string name;  // UTF-8
    const KindInfo* pattern = nullptr;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool hidden = false;
    std::optional<std::string> caption;  // UTF-8
    std::string picture;                 // asset name
    std::optional<Font> font;
    std::uint32_t color = 0, back = 0xFFFFFF, border = 0x808080;
    const Phase* phase = nullptr;
    std::string parentName;
    std::optional<std::uint32_t> explicitId;
    std::vector<Binding> bindings;
    std::string part, hint, spoken;  // what a screen reader says (UTF-8)

    std::uint32_t id = 0;
    std::uint32_t parentId = 0;
    std::vector<std::uint32_t> children;
};

struct Window {
    std::string file;
    int line = 0;
    std::string name;
    std::int32_t width = 0, height = 0;
    std::string background;
    std::vector<Binding> bindings;  // `created` only
    std::vector<Control> controls;
    std::vector<wt::access::Component> components;
    std::uint32_t number = 0;  // 1.. in command-line order
};

bool validName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '.' || c == '"' || c == '\\' || c == '=' || c == ',' || c == '#')
            return false;
    return true;
}

bool cIdentifier(std::string_view name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

bool checkGbk(const std::string& text, const std::string& file, int line, std::string_view what) {
    if (g_gbk->convert(text)) return true;
    error(file, line, std::string(what) + " \"" + text + "\" is not representable in GBK");
    return false;
}

std::optional<std::int32_t> geometryNumber(const Token& t, bool size, const std::string& file,
                                           int line, std::string_view what) {
    if (t.hasValue || t.quoted) {
        error(file, line, std::string("bad number '") + t.text + "' for " + std::string(what));
        return std::nullopt;
    }
    auto v = parseNumber(t.text, size ? 0 : -32768, 32767);
    if (!v) {
        error(file, line, "bad number '" + t.text + "' for " + std::string(what));
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*v);
}

// Reads `on <event>` pairs and attributes from tokens[from..].
struct Rest {
    std::vector<std::pair<std::string, int>> events;  // event name, line
    std::vector<Token> attrs;
};

bool splitRest(const std::vector<Token>& tokens, std::size_t from, const std::string& file,
               int line, Rest& rest) {
    for (std::size_t i = from; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (!t.hasValue && !t.quoted && t.text == "on") {
            if (i + 1 >= tokens.size()) {
                error(file, line, "'on' without an event name");
                return false;
            }
            rest.events.emplace_back(tokens[++i].text, line);
        } else {
            rest.attrs.push_back(t);
        }
    }
    return true;
}

std::optional<Font> parseFont(const std::string& v) {
    Font font;
    std::string_view s = v;
    std::size_t comma = s.find(',');
    std::string_view number = s.substr(0, comma);
    auto h = parseNumber(number, 1, 400);
    if (!h) return std::nullopt;
    font.height = static_cast<int>(*h);
    if (comma != std::string_view::npos) {
        if (s.substr(comma + 1) != "bold") return std::nullopt;
        font.bold = true;
    }
    return font;
}

void parseControl(const std::vector<Token>& tokens, const std::string& file, int line,
                  Window& window) {
    if (tokens.size() < 7) {
        error(file, line,
              "a control line needs: control <name> <kind> <left> <top> <width> <height>");
        return;
    }
    Control c;
    c.line = line;
    c.name = tokens[1].text;
    if (tokens[1].hasValue || tokens[1].quoted || !validName(c.name)) {
        error(file, line, "bad control name '" + tokens[1].text + "'");
        return;
    }
    if (!checkGbk(c.name, file, line, "control name")) return;
    for (const KindInfo& k : kKinds)
        if (tokens[2].text == k.name && !tokens[2].hasValue) c.pattern = &k;
    if (!c.pattern) {
        error(file, line, "unknown kind '" + tokens[2].text + "'");
        return;
    }
    auto l = geometryNumber(tokens[3], false, file, line, "left");
    auto t = geometryNumber(tokens[4], false, file, line, "top");
    auto w = geometryNumber(tokens[5], true, file, line, "width");
    auto h = geometryNumber(tokens[6], true, file, line, "height");
    if (!l || !t || !w || !h) return;
    c.left = *l, c.top = *t, c.width = *w, c.height = *h;

    Rest rest;
    if (!splitRest(tokens, 7, file, line, rest)) return;
    bool ok = true;
    unsigned seen = 0;
    for (const Token& a : rest.attrs) {
        std::string key = a.hasValue ? a.key : a.text;
        const AttrName* attr = nullptr;
        for (const AttrName& n : kAttrNames)
            if (key == n.name) attr = &n;
        if (!attr) {
            error(file, line, "unknown attribute '" + key + "'");
            ok = false;
            continue;
        }
        if (!(c.pattern->attrs & attr->attr)) {
            error(file, line,
                  "attribute '" + key + "' is not valid for kind '" + std::string(c.pattern->name) +
                      "'");
            ok = false;
            continue;
        }
        if (seen & attr->attr) {
            error(file, line, "attribute '" + key + "' given twice");
            ok = false;
            continue;
        }
        seen |= attr->attr;
        if ((attr->attr == kHidden) == a.hasValue) {
            error(file, line,
                  attr->attr == kHidden ? "'hidden' takes no value"
                                        : "attribute '" + key + "' needs a value");
            ok = false;
            continue;
        }
        const std::string& v = a.value;
        if (a.hasValue && v.empty() && attr->attr != kCaption) {
            error(file, line, "attribute '" + key + "' needs a value");
            ok = false;
            continue;
        }
        switch (attr->attr) {
            case kHidden:
                c.hidden = true;
                break;
            case kCaption:
                if (checkGbk(v, file, line, "caption"))
                    c.caption = v;
                else
                    ok = false;
                break;
            case kPicture:
                c.picture = v;
                break;
            case kPart:
            case kHint:
            case kSpoken:
                (attr->attr == kPart ? c.part : attr->attr == kHint ? c.hint : c.spoken) = v;
                break;
            case kParent:
                c.parentName = v;
                break;
            case kFont:
                c.font = parseFont(v);
                if (!c.font) {
                    error(file, line, "bad font '" + v + "' (expected <pixel height>[,bold])");
                    ok = false;
                }
                break;
            case kColor:
            case kBack:
            case kBorder: {
                auto n = parseNumber(v, 0, 0xFFFFFF);
                if (!n) {
                    error(file, line, "bad number '" + v + "' for colour '" + key + "'");
                    ok = false;
                    break;
                }
                std::uint32_t col = static_cast<std::uint32_t>(*n);
                (attr->attr == kColor ? c.color : attr->attr == kBack ? c.back : c.border) = col;
                break;
            }
            case kPhase:
                for (const Phase& p : kPhases)
                    if (v == p.name) c.phase = &p;
                if (!c.phase) {
                    error(file, line, "unknown phase '" + v + "' (expected L1, L2, L3 or ctl)");
                    ok = false;
                }
                break;
            case kId: {
                auto n = parseNumber(v, 0, 0xFFFFFFFF);
                if (!n || (*n >> 24) != wt::form::kControlTag || (*n & 0xFF0000) != 0 ||
                    (*n & 0xFFFF) == 0) {
                    error(file, line,
                          "bad control id '" + v + "' (expected 0x1600XXXX, XXXX not 0)");
                    ok = false;
                    break;
                }
                c.explicitId = static_cast<std::uint32_t>(*n);
                break;
            }
        }
    }
    for (const auto& event : rest.events) {
        const std::string& name = event.first;
        const EventName* ev = nullptr;
        for (const EventName& e : kEventNames)
            if (name == e.name) ev = &e;
        if (!ev) {
            error(file, line, "unknown event '" + name + "'");
            ok = false;
            continue;
        }
        if (!(c.pattern->events & ev->bit)) {
            error(file, line,
                  "event '" + name + "' is not valid for kind '" + std::string(c.pattern->name) +
                      "'");
            ok = false;
            continue;
        }
        bool dup = std::any_of(c.bindings.begin(), c.bindings.end(),
                               [&](const Binding& b) { return b.eventName == name; });
        if (dup) {
            error(file, line, "event '" + name + "' bound twice");
            ok = false;
            continue;
        }
        c.bindings.push_back({ev->number, name, line, 0});
    }
    if (!ok) return;
    for (const Control& other : window.controls)
        if (other.name == c.name) {
            error(file, line,
                  "duplicate control name '" + c.name + "' (first at line " +
                      std::to_string(other.line) + ")");
            return;
        }
    if (c.pattern->source == Source::Terminal) {
        if (c.picture.empty()) c.picture = "terminal";
        if (!c.caption) c.caption = "按钮";
    }
    if (c.pattern->source == Source::Wire && !c.phase) c.phase = &kPhases[3];
    if (!c.parentName.empty()) {
        const Control* parent = nullptr;
        for (const Control& other : window.controls)
            if (other.name == c.parentName) parent = &other;
        if (!parent || parent->pattern->source != Source::PictureBox) {
            error(file, line,
                  "parent '" + c.parentName + "' is not a picture box declared earlier");
            return;
        }
    }
    window.controls.push_back(std::move(c));
}

void parseComponent(const std::vector<Token>& tokens, const std::string& file, int line,
                    Window& window) {
    if (tokens.size() < 7 || tokens.size() > 8) {
        error(file, line,
              "a component line is: component <Label> <type> <left> <top> <width> <height> "
              "[\"caption\"]");
        return;
    }
    if (std::find(std::begin(kComponentTypes), std::end(kComponentTypes), tokens[2].text) ==
        std::end(kComponentTypes)) {
        error(file, line, "unknown component type '" + tokens[2].text + "'");
        return;
    }
    int geometry[4] = {};
    for (int i = 3; i < 7; ++i) {
        auto v = geometryNumber(tokens[i], i >= 5, file, line, "component geometry");
        if (!v) return;
        geometry[i - 3] = *v;
    }
    if (tokens.size() == 8 && (!tokens[7].quoted || tokens[7].hasValue)) {
        error(file, line, "unknown attribute '" + tokens[7].text + "'");
        return;
    }
    window.components.push_back({tokens[1].text,
                                 tokens[2].text,
                                 tokens.size() == 8 ? tokens[7].text : std::string(),
                                 {geometry[0], geometry[1], geometry[2], geometry[3]}});
}

std::optional<Window> parseForm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error(path, 0, "cannot open the form file");
        return std::nullopt;
    }
    Window window;
    window.file = path;
    std::size_t errorsBefore = g_errors.size();
    bool haveWindow = false;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<Token> tokens;
        if (!tokenize(line, path, lineNo, tokens) || tokens.empty()) continue;
        const Token& head = tokens[0];
        std::string directive = head.hasValue || head.quoted ? std::string() : head.text;
        if (directive == "window") {
            if (haveWindow) {
                error(path, lineNo,
                      "a second 'window' line (first at line " + std::to_string(window.line) + ")");
                continue;
            }
            haveWindow = true;
            window.line = lineNo;
            if (tokens.size() < 4) {
                error(path, lineNo, "a window line needs: window <Name> <width> <height>");
                continue;
            }
            window.name = tokens[1].text;
            if (!cIdentifier(window.name)) {
                error(path, lineNo, "bad window name '" + window.name + "'");
                continue;
            }
            if (fs::path(path).stem().string() != window.name)
                error(path, lineNo,
                      "window '" + window.name + "' must be in " + window.name + ".form");
            auto w = geometryNumber(tokens[2], true, path, lineNo, "width");
            auto h = geometryNumber(tokens[3], true, path, lineNo, "height");
            if (w) window.width = *w;
            if (h) window.height = *h;
            Rest rest;
            if (!splitRest(tokens, 4, path, lineNo, rest)) continue;
            for (const Token& a : rest.attrs) {
                if (a.hasValue && a.key == "background" && window.background.empty() &&
                    !a.value.empty())
                    window.background = a.value;
                else
                    error(
                        path, lineNo,
                        "unknown attribute '" + (a.hasValue ? a.key : a.text) + "' for the window");
            }
            for (auto& [name, l] : rest.events) {
                if (name != "created") {
                    bool known = name == "clicked" || name == "mouseDown" || name == "mouseUp";
                    error(path, l,
                          known ? "event '" + name + "' is not valid for the window"
                                : "unknown event '" + name + "'");
                } else if (!window.bindings.empty()) {
                    error(path, l, "event 'created' bound twice");
                } else {
                    window.bindings.push_back({wt::form::kEventClicked, "created", l, 0});
                }
            }
        } else if (directive == "control" || directive == "component") {
            if (!haveWindow) {
                error(path, lineNo, "'" + directive + "' before the 'window' line");
                continue;
            }
            if (directive == "control")
                parseControl(tokens, path, lineNo, window);
            else
                parseComponent(tokens, path, lineNo, window);
        } else {
            error(path, lineNo, "unknown directive '" + head.text + "'");
        }
    }
    if (!haveWindow) error(path, lineNo == 0 ? 1 : lineNo, "no 'window' line");
    if (g_errors.size() != errorsBefore) return std::nullopt;
    return window;
}

// --- Identifiers and handlers ----------------------------------------------------------------

void assignIdentifiers(std::vector<Window>& windows) {
    std::map<std::uint32_t, std::pair<std::string, int>> used;  // serial -> where
    for (const Window& w : windows) used[w.number] = {w.file, w.line};
    for (const Window& w : windows)
        for (const Control& c : w.controls) {
            if (!c.explicitId) continue;
            std::uint32_t serial = *c.explicitId & 0xFFFF;
            auto [it, inserted] = used.try_emplace(serial, w.file, c.line);
            if (!inserted)
                error(w.file, c.line,
                      "duplicate id " + std::to_string(serial) + " (also at " + it->second.first +
                          ":" + std::to_string(it->second.second) + ")");
        }
    std::uint32_t next = 1;
    for (Window& w : windows) {
        std::vector<std::uint32_t> serials;
        for (const Control& c : w.controls) {
            if (c.explicitId) continue;
            while (used.count(next)) ++next;
            serials.push_back(next++);
        }
        if (next > 0x10000) {
            error(w.file, w.line, "more controls than 16-bit serial numbers");
            return;
        }
        auto it = serials.rbegin();  // descending in stored order
        for (Control& c : w.controls)
            c.id = c.explicitId ? *c.explicitId : (wt::form::kControlTag << 24) | *it++;
        for (Control& c : w.controls) {
            if (c.parentName.empty()) continue;
            for (Control& p : w.controls)
                if (p.name == c.parentName) {
                    c.parentId = p.id;
                    p.children.push_back(c.id);
                }
        }
    }
}

std::vector<std::string> assignHandlers(std::vector<Window>& windows) {
    std::vector<std::string> names;
    for (Window& w : windows) {
        for (Binding& b : w.bindings) {
            b.handler = static_cast<std::uint32_t>(names.size());
            names.push_back(w.name + ".created");
        }
        for (Control& c : w.controls)
            for (Binding& b : c.bindings) {
                b.handler = static_cast<std::uint32_t>(names.size());
                names.push_back(w.name + "." + c.name + "." + b.eventName);
            }
    }
    // The menu's first routine is the click handler of 长动: the program's handler table is
    // laid out on that assumption.
    const std::string first = "ExerciseMenu.长动.clicked";
    for (const Window& w : windows) {
        if (w.name != "ExerciseMenu") continue;
        auto it = std::find(names.begin(), names.end(), first);
        if (it == names.end())
            error(w.file, w.line, "ExerciseMenu must bind '长动' 'on clicked' (handler 0)");
        else if (it != names.begin()) {
            int line = w.line;
            for (const Control& c : w.controls)
                if (c.name == "长动") line = c.line;
            error(w.file, line,
                  "ExerciseMenu.长动.clicked must be handler 0: put the ExerciseMenu form first "
                  "and make 长动 its first binding");
        }
    }
    return names;
}

// --- Output ----------------------------------------------------------------------------------

class Bytes {
  public:
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void u8(std::uint8_t v) { data.push_back(v); }
    void zeros(std::size_t n) { data.insert(data.end(), n, 0); }
    void append(const void* p, std::size_t n) {
        auto b = static_cast<const std::uint8_t*>(p);
        data.insert(data.end(), b, b + n);
    }
    void append(const std::string& s) { append(s.data(), s.size()); }
    void cstr(const std::string& s) {
        append(s);
        u8(0);
    }
    void lengthPrefixed(const std::string& s) {
        u32(static_cast<std::uint32_t>(s.size()));
        append(s);
    }
    std::vector<std::uint8_t> data;
};

std::string gbk(const std::string& utf8) {
    return g_gbk->convert(utf8).value_or(std::string());
}

void writeFont(Bytes& out, const std::optional<Font>& font, bool always) {
    if (!font && !always) {
        out.u32(0);  // the control's default font
        return;
    }
    Font f = font.value_or(Font{kDefaultLabelFontHeight, false});
    out.u32(60);
    out.i32(-f.height);  // negative: character height, as a LOGFONT states it
    out.i32(0);          // width: from the height
    out.i32(0);          // escapement
    out.i32(0);          // orientation
    out.i32(f.bold ? 700 : 400);
    out.u8(0);    // italic
    out.u8(0);    // underline
    out.u8(0);    // strike-out
    out.u8(134);  // GB2312 character set
    out.u8(0);    // output precision
    out.u8(0);    // clip precision
    out.u8(0);    // quality
    out.u8(0);    // pitch and family
    std::string face = gbk(std::string(kFontFace));
    face.resize(32, '\0');
    out.append(face);
}

class AssetCache {
  public:
    explicit AssetCache(fs::path dir) : dir_(std::move(dir)) {}

    // The picture file's bytes, or an error at file:line.
    std::optional<std::string> load(const std::string& asset, const std::string& file, int line) {
        fs::path p = dir_ / asset;
        if (!p.has_extension()) p += ".png";
        auto it = cache_.find(p.string());
        if (it != cache_.end()) return it->second;
        std::ifstream in(p, std::ios::binary);
        if (asset.empty() || asset.find('/') != std::string::npos || !in) {
            error(file, line, "missing asset file '" + p.string() + "'");
            return std::nullopt;
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bool png = bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
        bool gif = bytes.compare(0, 6, "GIF89a") == 0 || bytes.compare(0, 6, "GIF87a") == 0;
        if (!png && !gif) {
            error(file, line, "asset file '" + p.string() + "' is not a PNG or GIF picture");
            return std::nullopt;
        }
        read_.push_back(p.string());
        return cache_[p.string()] = std::move(bytes);
    }
    const std::vector<std::string>& filesRead() const { return read_; }

  private:
    fs::path dir_;
    std::map<std::string, std::string> cache_;
    std::vector<std::string> read_;
};

std::vector<std::uint8_t> buildRecord(Kind kind, const std::string& nameGbk, std::int32_t left,
                                      std::int32_t top, std::int32_t width, std::int32_t height,
                                      std::uint32_t parent,
                                      const std::vector<std::uint32_t>& children,
                                      std::uint32_t stateFlags,
                                      const std::vector<Binding>& bindings,
                                      const std::vector<std::uint8_t>& tail) {
    Bytes r;
    r.u32(static_cast<std::uint32_t>(kind));
    r.zeros(20);
    r.cstr(nameGbk);
    r.cstr("");  // remark
    r.u32(0);
    r.i32(left);
    r.i32(top);
    r.i32(width);
    r.i32(height);
    r.u32(0);
    r.u32(parent);
    r.u32(static_cast<std::uint32_t>(children.size()));
    for (std::uint32_t child : children) r.u32(child);
    r.u32(4);  // pointer data: the default mouse pointer
    r.u32(0);
    r.zeros(5);
    r.u32(stateFlags);
    r.u32(0);
    r.u32(static_cast<std::uint32_t>(bindings.size()));
    for (const Binding& b : bindings) {
        r.i32(b.event);
        r.u32(b.handler);
    }
    r.append(tail.data(), tail.size());
    Bytes out;
    out.u32(static_cast<std::uint32_t>(r.data.size()));
    out.append(r.data.data(), r.data.size());
    return out.data;
}

std::vector<std::uint8_t> controlTail(const Control& c, AssetCache& assets,
                                      const std::string& file) {
    Bytes t;
    auto picture = [&] {
        std::string bytes;
        if (!c.picture.empty()) bytes = assets.load(c.picture, file, c.line).value_or("");
        t.lengthPrefixed(bytes);
    };
    std::string caption = gbk(c.caption.value_or(""));
    switch (c.pattern->source) {
        case Source::Label:
        case Source::Wire: {
            bool wire = c.pattern->source == Source::Wire;
            t.u32(wire ? kWireTextColor : c.color);
            t.u32(wire ? kWireBackColor : c.back);
            t.u32(wire ? kWireBorderColor : c.border);
            t.u32(wire ? kBarMode : 0);
            for (int i = 0; i < 3; ++i) t.u32(wire ? c.phase->colors[i] : 0);
            writeFont(t, c.font, true);
            t.lengthPrefixed(caption);
            break;
        }
        case Source::Button:
        case Source::Terminal:
            picture();
            writeFont(t, c.font, false);
            t.lengthPrefixed(caption);
            break;
        case Source::PictureBox:
            picture();
            break;
        case Source::CheckBox:
            t.lengthPrefixed(caption);
            writeFont(t, c.font, false);
            break;
        case Source::Transparent:
            break;
    }
    return t.data;
}

std::vector<std::uint8_t> buildResource(const std::vector<Window>& windows, AssetCache& assets) {
    Bytes out;
    out.u32(static_cast<std::uint32_t>(8 * windows.size()));
    for (const Window& w : windows) out.u32((wt::form::kWindowIdTag << 24) | w.number);
    for (std::size_t i = 0; i < windows.size(); ++i) out.u32(0);
    for (const Window& w : windows) {
        std::vector<std::vector<std::uint8_t>> records;
        std::vector<std::uint32_t> ids;
        Bytes windowTail;
        std::string background;
        if (!w.background.empty())
            background = assets.load(w.background, w.file, w.line).value_or("");
        windowTail.lengthPrefixed(background);
        ids.push_back((wt::form::kWindowRecordTag << 24) | w.number);
        records.push_back(buildRecord(Kind::Window, "", 50, 50, w.width, w.height, 0, {}, 1,
                                      w.bindings, windowTail.data));
        for (const Control& c : w.controls) {
            ids.push_back(c.id);
            records.push_back(buildRecord(c.pattern->stored, gbk(c.name), c.left, c.top, c.width,
                                          c.height, c.parentId, c.children,
                                          c.hidden ? 0 : c.pattern->stateFlags, c.bindings,
                                          controlTail(c, assets, w.file)));
        }
        const auto n = static_cast<std::uint32_t>(records.size());
        std::uint32_t recordBytes = 0;
        for (const auto& r : records) recordBytes += static_cast<std::uint32_t>(r.size());
        out.u32(0);
        out.u32((wt::form::kModuleTag << 24) | w.number);
        out.u32(0);
        out.u32(0);
        out.u32(n);
        out.u32(8 * n + recordBytes);
        for (std::uint32_t id : ids) out.u32(id);
        std::uint32_t offset = 0;
        for (const auto& r : records) {
            out.u32(offset);
            offset += static_cast<std::uint32_t>(r.size());
        }
        for (const auto& r : records) out.append(r.data(), r.size());
    }
    return out.data;
}

std::string cString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n' || c == '\r') {
            out += c == '\n' ? "\\n" : "\\r";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string buildHeader(const std::vector<Window>& windows,
                        const std::vector<std::string>& handlers) {
    std::ostringstream h;
    h << "// Generated by formc from the .form files: window identifiers and handler names.\n"
         "// Do not edit; change the forms instead.\n"
         "#pragma once\n\n#include <cstddef>\n#include <cstdint>\n\nnamespace wt::forms {\n\n";
    char buf[16];
    for (const Window& w : windows) {
        std::snprintf(buf, sizeof buf, "0x%08X", (wt::form::kWindowIdTag << 24) | w.number);
        h << "inline constexpr std::uint32_t " << w.name << " = " << buf << ";\n";
    }
    h << "\ninline constexpr std::size_t kWindowCount = " << windows.size() << ";\n";
    h << "inline constexpr std::uint32_t kWindowIds[] = {\n";
    for (const Window& w : windows) h << "    " << w.name << ",\n";
    h << "};\ninline constexpr const char* const kWindowNames[] = {\n";
    for (const Window& w : windows) h << "    " << cString(w.name) << ",\n";
    h << "};\n\n// Handler names in handler-number order, as the form resource's bindings number "
         "them.\n";
    if (handlers.empty()) {
        h << "inline constexpr const char* const kHandlerNames[1] = {nullptr};\n";
    } else {
        h << "inline constexpr const char* const kHandlerNames[] = {\n";
        for (std::size_t i = 0; i < handlers.size(); ++i)
            h << "    " << cString(handlers[i]) << ",  // " << i << "\n";
        h << "};\n";
    }
    h << "inline constexpr std::size_t kHandlerCount = " << handlers.size() << ";\n\n"
      << "}  // namespace wt::forms\n";
    return h.str();
}

// What a screen reader says about the controls that act, and their Tab order, per window.
std::string buildAccess(const std::vector<Window>& windows) {
    std::ostringstream h;
    h << "// Generated by formc from the .form files: accessible names, descriptions and Tab\n"
         "// order of the controls that act. Do not edit; change the forms instead.\n"
         "#pragma once\n\n#include <cstddef>\n\n#include \"form_ids.h\"\n\n"
         "namespace wt::forms {\n\n"
         "struct ControlAccess {\n"
         "    std::uint32_t window;\n"
         "    const char* control;      // UTF-8 control name\n"
         "    const char* spoken;       // accessible name; empty: the caption or control name\n"
         "    const char* description;  // accessible description and tooltip\n"
         "    int order;                // Tab order within the window\n"
         "};\n\n"
         "inline constexpr ControlAccess kControlAccess[] = {\n";
    std::size_t count = 0;
    for (const Window& w : windows) {
        std::vector<wt::access::Actor> actors;
        for (const Control& c : w.controls) {
            wt::access::ActorKind kind;
            switch (c.pattern->source) {
                case Source::Terminal:
                    kind = wt::access::ActorKind::Terminal;
                    break;
                case Source::Button:
                    kind = wt::access::ActorKind::Button;
                    break;
                case Source::Transparent:
                    kind = wt::access::ActorKind::Switch;
                    break;
                case Source::CheckBox:
                    kind = wt::access::ActorKind::CheckBox;
                    break;
                default:
                    continue;
            }
            wt::access::Rect r{c.left, c.top, c.width, c.height};
            for (const Control& box : w.controls)
                if (!c.parentName.empty() && box.name == c.parentName) {
                    r.left += box.left;
                    r.top += box.top;
                }
            actors.push_back({c.name, kind, r, c.part, c.hint, c.spoken});
        }
        for (const wt::access::Note& n : wt::access::describe(w.components, actors)) {
            h << "    {" << w.name << ", " << cString(n.name) << ", " << cString(n.spoken) << ", "
              << cString(n.description) << ", " << n.order << "},\n";
            ++count;
        }
    }
    if (count == 0) h << "    {0, \"\", \"\", \"\", 0},\n";
    h << "};\ninline constexpr std::size_t kControlAccessCount = " << count << ";\n\n"
      << "}  // namespace wt::forms\n";
    return h.str();
}

// Writes `path` through "<path>.tmp" and leaves an identical file untouched.
bool writeIfDifferent(const fs::path& path, std::string_view content) {
    {
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::string existing((std::istreambuf_iterator<char>(old)),
                                 std::istreambuf_iterator<char>());
            if (existing == content) return true;
        }
    }
    fs::path tmp = path;
    tmp += ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!out) {
            std::cerr << "formc: cannot write " << tmp << "\n";
            return false;
        }
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) {
        std::cerr << "formc: cannot replace " << path << ": " << ec.message() << "\n";
        return false;
    }
    return true;
}

std::string depfileEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == ' ' || c == '#' || c == '\\') out += '\\';
        if (c == '$') out += '$';
        out += c;
    }
    return out;
}

int usage() {
    std::cerr << "usage: formc --assets DIR --resource OUT.bin --header OUT.h [--access OUT.h] "
                 "[--depfile FILE --stamp FILE] FORM...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string assetDir, resourcePath, headerPath, accessPath, depfile, stamp;
    std::vector<std::string> forms;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--assets")
            ok = value(assetDir);
        else if (a == "--resource")
            ok = value(resourcePath);
        else if (a == "--header")
            ok = value(headerPath);
        else if (a == "--access")
            ok = value(accessPath);
        else if (a == "--depfile")
            ok = value(depfile);
        else if (a == "--stamp")
            ok = value(stamp);
        else if (a.starts_with("--"))
            ok = false;
        else
            forms.emplace_back(a);
        if (!ok) return usage();
    }
    if (assetDir.empty() || resourcePath.empty() || headerPath.empty() || forms.empty() ||
        depfile.empty() != stamp.empty())
        return usage();

    GbkConverter converter;
    if (!converter.ready()) {
        std::cerr << "formc: iconv has no UTF-8 to GBK conversion\n";
        return 1;
    }
    g_gbk = &converter;

    std::vector<Window> windows;
    for (const std::string& f : forms) {
        auto w = parseForm(f);
        if (!w) continue;
        for (const Window& other : windows)
            if (other.name == w->name)
                error(f, w->line,
                      "window '" + w->name + "' defined twice (also in " + other.file + ")");
        w->number = static_cast<std::uint32_t>(windows.size() + 1);
        windows.push_back(std::move(*w));
    }
    std::vector<std::string> handlers;
    if (g_errors.empty()) {
        assignIdentifiers(windows);
        handlers = assignHandlers(windows);
    }
    AssetCache assets(assetDir);
    std::vector<std::uint8_t> resource;
    if (g_errors.empty()) resource = buildResource(windows, assets);
    if (!g_errors.empty()) {
        for (const std::string& e : g_errors) std::cerr << e << "\n";
        std::cerr << "formc: " << g_errors.size() << " error(s)\n";
        return 1;
    }

    bool ok = writeIfDifferent(resourcePath,
                               std::string_view(reinterpret_cast<const char*>(resource.data()),
                                                resource.size())) &&
              writeIfDifferent(headerPath, buildHeader(windows, handlers)) &&
              (accessPath.empty() || writeIfDifferent(accessPath, buildAccess(windows)));
    if (ok && !depfile.empty()) {
        std::string deps = depfileEscape(stamp) + ":";
        for (const std::string& f : assets.filesRead()) deps += " \\\n  " + depfileEscape(f);
        ok = writeIfDifferent(depfile, deps + "\n");
        std::ofstream touch(stamp, std::ios::binary | std::ios::trunc);
        ok = ok && static_cast<bool>(touch);
    }
    return ok ? 0 : 1;
}
