// formc: compiles the .form window descriptions (UTF-8, see resources/forms/FORMAT.md, read by
// resources/form_source) into the binary FormResource that the program embeds, into form_ids.h
// with the window identifiers and the handler names in handler-number order, into form_names.h
// with each window's control and handler names, into form_access.h with what a screen reader
// says about the controls that act, and into a JSON dump of the geometry.
//
//   formc --assets DIR --resource OUT.bin --header OUT.h [--names OUT.h] [--access OUT.h]
//         [--geometry OUT.json] [--depfile FILE --stamp FILE] FORM...
//
// Every mistake in a form is reported as "file:line: message" and makes the run fail; outputs
// are written to "<name>.tmp" first and replace the old file only when their content differs.
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
#include "resources/form_source.h"
#include "resources/gbk.h"
#include "tools/formc/access_notes.h"

namespace fs = std::filesystem;
using wt::gbk;
using wt::form::Kind;
using wt::formsrc::ControlKind;
using wt::formsrc::Font;

namespace {

std::vector<std::string> g_errors;

void error(const std::string& file, int line, const std::string& message) {
    g_errors.push_back(file + ":" + std::to_string(line) + ": " + message);
}

// What the writers store besides the source: identifiers and handler numbers.
struct Control {
    const wt::formsrc::Control* src = nullptr;
    std::uint32_t id = 0;
    std::uint32_t parentId = 0;
    std::vector<std::uint32_t> children;
    std::vector<std::uint32_t> handlers;  // one per src->bindings
};

struct Window {
    wt::formsrc::Window src;
    std::uint32_t number = 0;             // 1.. in command-line order
    std::vector<std::uint32_t> handlers;  // one per src.bindings (`created`)
    std::vector<Control> controls;
};

constexpr std::uint32_t kWireTextColor = 0x808080;
constexpr std::uint32_t kWireBackColor = 0xFFFFFF;
constexpr std::uint32_t kWireBorderColor = 0x808080;
constexpr std::uint32_t kBarMode = 1;
constexpr int kDefaultLabelFontHeight = 12;
constexpr std::string_view kFontFace = "宋体";

// --- Identifiers and handlers ----------------------------------------------------------------

void assignIdentifiers(std::vector<Window>& windows) {
    std::map<std::uint32_t, std::pair<std::string, int>> used;  // serial -> where
    for (const Window& w : windows) used[w.number] = {w.src.file, w.src.line};
    for (const Window& w : windows)
        for (const wt::formsrc::Control& c : w.src.controls) {
            if (!c.explicitId) continue;
            std::uint32_t serial = *c.explicitId & 0xFFFF;
            auto [it, inserted] = used.try_emplace(serial, w.src.file, c.line);
            if (!inserted)
                error(w.src.file, c.line,
                      "duplicate id " + std::to_string(serial) + " (also at " + it->second.first +
                          ":" + std::to_string(it->second.second) + ")");
        }
    std::uint32_t next = 1;
    for (Window& w : windows) {
        std::vector<std::uint32_t> serials;
        for (const wt::formsrc::Control& c : w.src.controls) {
            if (c.explicitId) continue;
            while (used.count(next)) ++next;
            serials.push_back(next++);
        }
        if (next > 0x10000) {
            error(w.src.file, w.src.line, "more controls than 16-bit serial numbers");
            return;
        }
        auto it = serials.rbegin();  // descending in stored order
        w.controls.clear();
        for (const wt::formsrc::Control& c : w.src.controls) {
            Control placed;
            placed.src = &c;
            placed.id = c.explicitId ? *c.explicitId : (wt::form::kControlTag << 24) | *it++;
            w.controls.push_back(std::move(placed));
        }
        for (Control& c : w.controls) {
            if (c.src->parent.empty()) continue;
            for (Control& p : w.controls)
                if (p.src->name == c.src->parent) {
                    c.parentId = p.id;
                    p.children.push_back(c.id);
                }
        }
    }
}

std::vector<std::string> assignHandlers(std::vector<Window>& windows) {
    std::vector<std::string> names;
    for (Window& w : windows) {
        w.handlers.clear();
        for (std::size_t i = 0; i < w.src.bindings.size(); ++i) {
            w.handlers.push_back(static_cast<std::uint32_t>(names.size()));
            names.push_back(w.src.name + ".created");
        }
        for (Control& c : w.controls)
            for (const wt::formsrc::Binding& b : c.src->bindings) {
                c.handlers.push_back(static_cast<std::uint32_t>(names.size()));
                names.push_back(w.src.name + "." + c.src->name + "." + b.eventName);
            }
    }
    // The menu's first routine is the click handler of 长动: the program's handler table is
    // laid out on that assumption.
    const std::string first = "ExerciseMenu.长动.clicked";
    for (const Window& w : windows) {
        if (w.src.name != "ExerciseMenu") continue;
        auto it = std::find(names.begin(), names.end(), first);
        if (it == names.end())
            error(w.src.file, w.src.line, "ExerciseMenu must bind '长动' 'on clicked' (handler 0)");
        else if (it != names.begin()) {
            const wt::formsrc::Control* button = w.src.control("长动");
            error(w.src.file, button ? button->line : w.src.line,
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

std::vector<std::uint8_t> buildRecord(
    Kind kind, const std::string& nameGbk, std::int32_t left, std::int32_t top, std::int32_t width,
    std::int32_t height, std::uint32_t parent, const std::vector<std::uint32_t>& children,
    std::uint32_t stateFlags, const std::vector<wt::formsrc::Binding>& bindings,
    const std::vector<std::uint32_t>& handlers, const std::vector<std::uint8_t>& tail) {
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
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        r.i32(bindings[i].event);
        r.u32(handlers[i]);
    }
    r.append(tail.data(), tail.size());
    Bytes out;
    out.u32(static_cast<std::uint32_t>(r.data.size()));
    out.append(r.data.data(), r.data.size());
    return out.data;
}

std::vector<std::uint8_t> controlTail(const wt::formsrc::Control& c, AssetCache& assets,
                                      const std::string& file) {
    Bytes t;
    auto picture = [&] {
        std::string bytes;
        if (!c.picture.empty()) bytes = assets.load(c.picture, file, c.line).value_or("");
        t.lengthPrefixed(bytes);
    };
    std::string caption = gbk(c.caption.value_or(""));
    switch (c.kind->kind) {
        case ControlKind::Label:
        case ControlKind::Wire: {
            bool wire = c.kind->kind == ControlKind::Wire;
            t.u32(wire ? kWireTextColor : c.color);
            t.u32(wire ? kWireBackColor : c.back);
            t.u32(wire ? kWireBorderColor : c.border);
            t.u32(wire ? kBarMode : 0);
            for (int i = 0; i < 3; ++i) t.u32(wire ? c.phase->colors[i] : 0);
            writeFont(t, c.font, true);
            t.lengthPrefixed(caption);
            break;
        }
        case ControlKind::Button:
        case ControlKind::Terminal:
            picture();
            writeFont(t, c.font, false);
            t.lengthPrefixed(caption);
            break;
        case ControlKind::PictureBox:
            picture();
            break;
        case ControlKind::CheckBox:
            t.lengthPrefixed(caption);
            writeFont(t, c.font, false);
            break;
        case ControlKind::Transparent:
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
        if (!w.src.background.empty())
            background = assets.load(w.src.background, w.src.file, w.src.line).value_or("");
        windowTail.lengthPrefixed(background);
        ids.push_back((wt::form::kWindowRecordTag << 24) | w.number);
        records.push_back(buildRecord(Kind::Window, "", 50, 50, w.src.width, w.src.height, 0, {}, 1,
                                      w.src.bindings, w.handlers, windowTail.data));
        for (const Control& c : w.controls) {
            const wt::formsrc::Control& s = *c.src;
            ids.push_back(c.id);
            records.push_back(buildRecord(s.kind->stored, gbk(s.name), s.rect.left, s.rect.top,
                                          s.rect.width, s.rect.height, c.parentId, c.children,
                                          s.hidden ? 0 : s.kind->stateFlags, s.bindings, c.handlers,
                                          controlTail(s, assets, w.src.file)));
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
        h << "inline constexpr std::uint32_t " << w.src.name << " = " << buf << ";\n";
    }
    h << "\ninline constexpr std::size_t kWindowCount = " << windows.size() << ";\n";
    h << "inline constexpr std::uint32_t kWindowIds[] = {\n";
    for (const Window& w : windows) h << "    " << w.src.name << ",\n";
    h << "};\ninline constexpr const char* const kWindowNames[] = {\n";
    for (const Window& w : windows) h << "    " << cString(w.src.name) << ",\n";
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

// A control or event name usable as a C++ identifier; other bytes than ASCII are taken as
// letters (the compilers accept the CJK names the forms use).
bool identifierLike(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || std::isalnum(u) || c == '_';
    });
}

// A C string literal of arbitrary bytes: octal escapes cannot run into the next character.
std::string byteLiteral(std::string_view bytes) {
    std::string out = "\"";
    char buf[8];
    for (char c : bytes) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\' && c != '?') {
            out += c;
        } else {
            std::snprintf(buf, sizeof buf, "\\%03o", u);
            out += buf;
        }
    }
    return out + "\"";
}

// Per window: the control names as the model holds them (GBK) and the handler names as the
// handler table registers them, so that code naming a control the form lacks does not compile.
std::string buildNames(const std::vector<Window>& windows) {
    std::ostringstream h;
    h << "// Generated by formc from the .form files: control names (GBK) and handler names per\n"
         "// window. Do not edit; change the forms instead.\n"
         "#pragma once\n\nnamespace wt::forms {\n";
    for (const Window& w : windows) {
        h << "\nnamespace controls::" << w.src.name << " {\n";
        for (const wt::formsrc::Control& c : w.src.controls)
            if (identifierLike(c.name))
                h << "inline constexpr char " << c.name << "[] = " << byteLiteral(wt::gbk(c.name))
                  << ";\n";
        h << "}  // namespace controls::" << w.src.name << "\n";
        h << "namespace handlers::" << w.src.name << " {\n";
        if (!w.src.bindings.empty())
            h << "inline constexpr char created[] = " << cString(w.src.name + ".created") << ";\n";
        for (const wt::formsrc::Control& c : w.src.controls)
            for (const wt::formsrc::Binding& b : c.bindings)
                if (identifierLike(c.name))
                    h << "inline constexpr char " << c.name << "_" << b.eventName
                      << "[] = " << cString(w.src.name + "." + c.name + "." + b.eventName) << ";\n";
        h << "}  // namespace handlers::" << w.src.name << "\n";
    }
    h << "\n}  // namespace wt::forms\n";
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
        std::vector<wt::access::Component> components;
        for (const wt::formsrc::Component& c : w.src.components)
            components.push_back({c.label,
                                  c.type,
                                  c.caption,
                                  {c.rect.left, c.rect.top, c.rect.width, c.rect.height}});
        std::vector<wt::access::Actor> actors;
        for (const wt::formsrc::Control& c : w.src.controls) {
            wt::access::ActorKind kind;
            switch (c.kind->kind) {
                case ControlKind::Terminal:
                    kind = wt::access::ActorKind::Terminal;
                    break;
                case ControlKind::Button:
                    kind = wt::access::ActorKind::Button;
                    break;
                case ControlKind::Transparent:
                    kind = wt::access::ActorKind::Switch;
                    break;
                case ControlKind::CheckBox:
                    kind = wt::access::ActorKind::CheckBox;
                    break;
                default:
                    continue;
            }
            const wt::formsrc::Rect r = w.src.windowRect(c);
            actors.push_back(
                {c.name, kind, {r.left, r.top, r.width, r.height}, c.part, c.hint, c.spoken});
        }
        for (const wt::access::Note& n : wt::access::describe(components, actors)) {
            h << "    {" << w.src.name << ", " << cString(n.name) << ", " << cString(n.spoken)
              << ", " << cString(n.description) << ", " << n.order << "},\n";
            ++count;
        }
    }
    if (count == 0) h << "    {0, \"\", \"\", \"\", 0},\n";
    h << "};\ninline constexpr std::size_t kControlAccessCount = " << count << ";\n\n"
      << "}  // namespace wt::forms\n";
    return h.str();
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    char buf[8];
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The geometry of every window as JSON, for tools that need to know where things are (the
// end-to-end harness): client size, and per control its kind, rectangle relative to its parent
// (or the window), parent and the attributes that were given; per component its rectangle.
std::string buildGeometry(const std::vector<Window>& windows) {
    std::ostringstream j;
    auto rect = [&](const wt::formsrc::Rect& r) {
        j << "\"x\": " << r.left << ", \"y\": " << r.top << ", \"w\": " << r.width
          << ", \"h\": " << r.height;
    };
    j << "{\n  \"windows\": {";
    const char* windowSep = "\n";
    for (const Window& w : windows) {
        const wt::formsrc::Window& f = w.src;
        j << windowSep << "    " << jsonString(f.name) << ": {\n      \"line\": " << f.line
          << ",\n      \"size\": [" << f.width << ", " << f.height << "],\n      \"controls\": [";
        windowSep = ",\n";
        const char* sep = "\n";
        for (const wt::formsrc::Control& c : f.controls) {
            j << sep << "        {\"name\": " << jsonString(c.name)
              << ", \"kind\": " << jsonString(c.kind->name) << ", \"line\": " << c.line << ", ";
            rect(c.rect);
            j << ", \"parent\": ";
            if (c.parent.empty())
                j << "null";
            else
                j << jsonString(c.parent);
            j << ", \"attrs\": {";
            const char* attrSep = "";
            auto attr = [&](std::string_view key, const std::string& value) {
                j << attrSep << jsonString(key) << ": " << value;
                attrSep = ", ";
            };
            if (c.caption) attr("caption", jsonString(*c.caption));
            if (!c.picture.empty()) attr("picture", jsonString(c.picture));
            if (c.phase) attr("phase", jsonString(c.phase->name));
            if (!c.parent.empty()) attr("parent", jsonString(c.parent));
            if (c.hidden) attr("hidden", "true");
            j << "}}";
            sep = ",\n";
        }
        j << "\n      ],\n      \"components\": [";
        sep = "\n";
        for (const wt::formsrc::Component& c : f.components) {
            j << sep << "        {\"label\": " << jsonString(c.label)
              << ", \"type\": " << jsonString(c.type) << ", \"line\": " << c.line << ", ";
            rect(c.rect);
            j << ", \"caption\": " << jsonString(c.caption) << "}";
            sep = ",\n";
        }
        j << "\n      ]\n    }";
    }
    j << "\n  }\n}\n";
    return j.str();
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
    std::cerr << "usage: formc --assets DIR --resource OUT.bin --header OUT.h [--names OUT.h] "
                 "[--access OUT.h] [--geometry OUT.json] [--depfile FILE --stamp FILE] FORM...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string assetDir, resourcePath, headerPath, namesPath, accessPath, geometryPath, depfile,
        stamp;
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
        else if (a == "--names")
            ok = value(namesPath);
        else if (a == "--access")
            ok = value(accessPath);
        else if (a == "--geometry")
            ok = value(geometryPath);
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

    if (!wt::gbkExact(kFontFace)) {
        std::cerr << "formc: iconv has no UTF-8 to GBK conversion\n";
        return 1;
    }

    std::vector<Window> windows;
    for (const std::string& f : forms) {
        wt::formsrc::Diagnostics diagnostics;
        auto w = wt::formsrc::read(f, diagnostics, true);
        for (const wt::formsrc::Diagnostic& d : diagnostics) error(d.file, d.line, d.message);
        if (!w) continue;
        for (const Window& other : windows)
            if (other.src.name == w->name)
                error(f, w->line,
                      "window '" + w->name + "' defined twice (also in " + other.src.file + ")");
        Window compiled;
        compiled.src = std::move(*w);
        compiled.number = static_cast<std::uint32_t>(windows.size() + 1);
        windows.push_back(std::move(compiled));
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
              (namesPath.empty() || writeIfDifferent(namesPath, buildNames(windows))) &&
              (accessPath.empty() || writeIfDifferent(accessPath, buildAccess(windows))) &&
              (geometryPath.empty() || writeIfDifferent(geometryPath, buildGeometry(windows)));
    if (ok && !depfile.empty()) {
        std::string deps = depfileEscape(stamp) + ":";
        for (const std::string& f : assets.filesRead()) deps += " \\\n  " + depfileEscape(f);
        ok = writeIfDifferent(depfile, deps + "\n");
        std::ofstream touch(stamp, std::ios::binary | std::ios::trunc);
        ok = ok && static_cast<bool>(touch);
    }
    return ok ? 0 : 1;
}
