#include "resources/form_source.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "resources/gbk.h"

namespace wt::formsrc {

namespace {

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

struct EventName {
    std::string_view name;
    EventBit bit;
    std::int32_t number;
};
constexpr EventName kEventNames[] = {
    {"clicked", kClicked, form::kEventClicked},
    {"mouseDown", kMouseDown, form::kEventMouseDown},
    {"mouseUp", kMouseUp, form::kEventMouseUp},
};

constexpr unsigned kCommonAttrs = kParent | kId | kHidden;
constexpr KindInfo kKinds[] = {
    {"label", ControlKind::Label, form::Kind::Label, 1,
     kCommonAttrs | kCaption | kColor | kBack | kBorder | kFont, 0},
    {"wire", ControlKind::Wire, form::Kind::Label, 1, kCommonAttrs | kPhase | kCaption, 0},
    {"button", ControlKind::Button, form::Kind::Button, 5,
     kCommonAttrs | kCaption | kPicture | kFont | kHint | kSpoken,
     kClicked | kMouseDown | kMouseUp},
    {"terminal", ControlKind::Terminal, form::Kind::Button, 5,
     kCommonAttrs | kPicture | kPart | kHint, kClicked},
    {"picturebox", ControlKind::PictureBox, form::Kind::PictureBox, 1, kCommonAttrs | kPicture, 0},
    {"checkbox", ControlKind::CheckBox, form::Kind::CheckBox, 5,
     kCommonAttrs | kCaption | kFont | kHint | kSpoken, 0},
    {"transparent", ControlKind::Transparent, form::Kind::TransparentLabel, 1,
     kCommonAttrs | kHint | kSpoken, kMouseDown},
};

constexpr std::string_view kComponentTypes[] = {
    "switch", "contactor", "relay", "fuse", "pushbutton", "coil", "auxcontact", "motor", "text"};

constexpr Phase kPhases[] = {
    {"L1", {0x00FFFF, 0x00A000, 0x00FFFF}},   // yellow, green, yellow
    {"L2", {0x006000, 0x00FF00, 0x00A000}},   // shades of green
    {"L3", {0xCBC0FF, 0xFF00FF, 0x0000FF}},   // pink, magenta, red
    {"ctl", {0x808080, 0x800000, 0x000000}},  // grey, dark blue, black
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

// Parses with every mistake collected into `out` as file:line: message.
class Parser {
  public:
    explicit Parser(Diagnostics& diagnostics) : out(diagnostics) {}

    bool checkGbk(const std::string& text, const std::string& file, int line,
                  std::string_view what) {
        if (gbkExact(text)) return true;
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
            if (tokens[2].text == k.name && !tokens[2].hasValue) c.kind = &k;
        if (!c.kind) {
            error(file, line, "unknown kind '" + tokens[2].text + "'");
            return;
        }
        auto l = geometryNumber(tokens[3], false, file, line, "left");
        auto t = geometryNumber(tokens[4], false, file, line, "top");
        auto w = geometryNumber(tokens[5], true, file, line, "width");
        auto h = geometryNumber(tokens[6], true, file, line, "height");
        if (!l || !t || !w || !h) return;
        c.rect = {*l, *t, *w, *h};

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
            if (!(c.kind->attrs & attr->attr)) {
                error(file, line,
                      "attribute '" + key + "' is not valid for kind '" +
                          std::string(c.kind->name) + "'");
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
                    c.part = v;
                    break;
                case kHint:
                    c.hint = v;
                    break;
                case kSpoken:
                    c.spoken = v;
                    break;
                case kParent:
                    c.parent = v;
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
                    (attr->attr == kColor  ? c.color
                     : attr->attr == kBack ? c.back
                                           : c.border) = col;
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
                    if (!n || (*n >> 24) != form::kControlTag || (*n & 0xFF0000) != 0 ||
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
            if (!(c.kind->events & ev->bit)) {
                error(file, line,
                      "event '" + name + "' is not valid for kind '" + std::string(c.kind->name) +
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
            c.bindings.push_back({ev->number, name, line});
        }
        if (!ok) return;
        for (const Control& other : window.controls)
            if (other.name == c.name) {
                error(file, line,
                      "duplicate control name '" + c.name + "' (first at line " +
                          std::to_string(other.line) + ")");
                return;
            }
        if (c.kind->kind == ControlKind::Terminal) {
            if (c.picture.empty()) c.picture = "terminal";
            if (!c.caption) c.caption = "按钮";
        }
        if (c.kind->kind == ControlKind::Wire && !c.phase) c.phase = &kPhases[3];
        if (!c.parent.empty()) {
            const Control* parent = nullptr;
            for (const Control& other : window.controls)
                if (other.name == c.parent) parent = &other;
            if (!parent || parent->kind->kind != ControlKind::PictureBox) {
                error(file, line,
                      "parent '" + c.parent + "' is not a picture box declared earlier");
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
        std::int32_t geometry[4];
        for (int i = 3; i < 7; ++i) {
            auto v = geometryNumber(tokens[i], i >= 5, file, line, "component geometry");
            if (!v) return;
            geometry[i - 3] = *v;
        }
        if (tokens.size() == 8 && (!tokens[7].quoted || tokens[7].hasValue)) {
            error(file, line, "unknown attribute '" + tokens[7].text + "'");
            return;
        }
        Component c;
        c.line = line;
        c.label = tokens[1].text;
        c.type = tokens[2].text;
        c.rect = {geometry[0], geometry[1], geometry[2], geometry[3]};
        if (tokens.size() == 8) c.caption = tokens[7].text;
        window.components.push_back(std::move(c));
    }

    // `expectedName`: the name the window must have (its file's), or empty.
    std::optional<Window> parse(std::string_view text, const std::string& path,
                                const std::string& expectedName) {
        Window window;
        window.file = path;
        const std::size_t errorsBefore = out.size();
        bool haveWindow = false;
        int lineNo = 0;
        std::size_t pos = 0;
        while (pos < text.size()) {  // lines as std::getline splits them
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            ++lineNo;
            std::vector<Token> tokens;
            std::string lexError;
            if (!tokenize(line, tokens, lexError)) {
                error(path, lineNo, lexError);
                continue;
            }
            if (tokens.empty()) continue;
            const Token& head = tokens[0];
            std::string directive = head.hasValue || head.quoted ? std::string() : head.text;
            if (directive == "window") {
                if (haveWindow) {
                    error(path, lineNo,
                          "a second 'window' line (first at line " + std::to_string(window.line) +
                              ")");
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
                if (!expectedName.empty() && expectedName != window.name)
                    error(path, lineNo,
                          "window '" + window.name + "' must be in " + window.name + ".form");
                auto w = geometryNumber(tokens[2], true, path, lineNo, "width");
                auto h = geometryNumber(tokens[3], true, path, lineNo, "height");
                if (w) window.width = *w;
                if (h) window.height = *h;
                if ((w && *w == 0) || (h && *h == 0))
                    error(path, lineNo, "a window needs a width and a height of at least 1");
                Rest rest;
                if (!splitRest(tokens, 4, path, lineNo, rest)) continue;
                for (const Token& a : rest.attrs) {
                    if (a.hasValue && a.key == "background" && window.background.empty() &&
                        !a.value.empty())
                        window.background = a.value;
                    else
                        error(path, lineNo,
                              "unknown attribute '" + (a.hasValue ? a.key : a.text) +
                                  "' for the window");
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
                        window.bindings.push_back({form::kEventClicked, "created", l});
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
        if (out.size() != errorsBefore) return std::nullopt;
        return window;
    }

  private:
    void error(const std::string& file, int line, const std::string& message) {
        out.push_back({file, line, message});
    }

    Diagnostics& out;
};

}  // namespace

std::string Diagnostic::text() const {
    return file + ":" + std::to_string(line) + ": " + message;
}

bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
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
                    error = std::string("unknown escape '\\") + e + "' in quoted text";
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
            error = "unterminated quoted text";
            return false;
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

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

const KindInfo* findKind(std::string_view name) {
    for (const KindInfo& k : kKinds)
        if (k.name == name) return &k;
    return nullptr;
}

const Control* Window::control(std::string_view controlName) const {
    for (const Control& c : controls)
        if (c.name == controlName) return &c;
    return nullptr;
}

Rect Window::windowRect(const Control& c) const {
    Rect r = c.rect;
    for (const Control* p = control(c.parent); p != nullptr; p = control(p->parent)) {
        r.left += p->rect.left;
        r.top += p->rect.top;
    }
    return r;
}

std::optional<Window> parse(std::string_view text, const std::string& file,
                            Diagnostics& diagnostics) {
    return Parser(diagnostics).parse(text, file, {});
}

std::optional<Window> read(const std::string& path, Diagnostics& diagnostics, bool nameFromFile) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.push_back({path, 0, "cannot open the form file"});
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string expected = nameFromFile ? std::filesystem::path(path).stem().string() : "";
    return Parser(diagnostics).parse(text, path, expected);
}

}  // namespace wt::formsrc
