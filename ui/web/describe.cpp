#include "ui/web/describe.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "resources/gbk.h"
#include "ui/focus.h"

namespace wt::web {
namespace {

void appendInt(std::string& out, const char* key, long long value) {
    out += '"';
    out += key;
    out += "\":";
    out += std::to_string(value);
    out += ',';
}

void appendText(std::string& out, const char* key, std::string_view utf8Text) {
    out += '"';
    out += key;
    out += "\":";
    out += jsonString(utf8Text);
    out += ',';
}

// Captions are stored with Windows line ends.
std::string captionText(const std::string& gbkText) {
    std::string text = utf8(gbkText);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// Pixel size of a LOGFONT height: a negative height is the character height, a positive one
// the cell height, of which the character takes about seven eighths.
int fontPixels(std::int32_t height) {
    const int px = std::abs(height);
    return height > 0 ? px * 7 / 8 : px;
}

bool binds(const form::ControlRecord& record, std::int32_t event) {
    for (const form::EventBinding& b : record.events)
        if (b.event == event) return true;
    return false;
}

// A control that acts: its accessible name and description, and the control each arrow key
// moves to (left, right, up, down; its own index when there is none that way).
void appendStop(std::string& out, const std::vector<focus::Stop>& stops, int k) {
    appendText(out, "spoken", stops[k].spoken);
    appendText(out, "desc", stops[k].description);
    out += "\"nav\":[";
    const focus::Direction ways[] = {focus::Direction::Left, focus::Direction::Right,
                                     focus::Direction::Up, focus::Direction::Down};
    for (const focus::Direction way : ways) {
        if (way != focus::Direction::Left) out += ',';
        out += std::to_string(stops[focus::nearest(stops, k, way)].index);
    }
    out += "],";
}

void closeObject(std::string& out) {
    if (!out.empty() && out.back() == ',') out.pop_back();
    out += '}';
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", u);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::string jsonPicture(std::span<const std::uint8_t> file) {
    if (file.empty()) return "null";
    return "{\"p\":" + std::to_string(reinterpret_cast<std::uintptr_t>(file.data())) +
           ",\"n\":" + std::to_string(file.size()) + "}";
}

std::string_view kindName(const form::ControlRecord& record) {
    switch (record.kind) {
        case form::Kind::Window:
            return "window";
        case form::Kind::Label:
            return record.isWireBar() ? "wire" : "label";
        case form::Kind::Button:
            return "button";
        case form::Kind::PictureBox:
            return "picture";
        case form::Kind::CheckBox:
            return "check";
        case form::Kind::TransparentLabel:
            return "area";
    }
    return "unknown";
}

std::span<const std::uint8_t> currentPicture(const ControlState& state) {
    if (const auto file = mediaFile(state.picture)) return *file;
    if (state.record == nullptr) return {};
    return state.record->picture;
}

std::string describeWindow(const ModelWindow& window, std::string_view title) {
    const form::ControlRecord& own = window.block().window();
    const std::vector<focus::Stop> stops = focus::stops(window.block());
    std::string out = "{";
    appendInt(out, "serial", static_cast<long long>(window.serial()));
    appendInt(out, "id", window.id());
    appendText(out, "title", title);
    appendInt(out, "w", own.geometry.width);
    appendInt(out, "h", own.geometry.height);
    out += "\"bg\":" + jsonPicture(own.picture) + ",\"tab\":[";
    for (std::size_t k = 0; k < stops.size(); ++k) {
        // Appended one after the other: GCC 12 warns (-Wrestrict) about "," + string at -O3.
        if (k > 0) out += ',';
        out += std::to_string(stops[k].index);
    }
    out += "],\"controls\":[";
    for (std::size_t i = 1; i < window.size(); ++i) {
        const ControlState s = window.state(static_cast<int>(i));
        const form::ControlRecord& rec = *s.record;
        std::string c = "{";
        appendInt(c, "i", static_cast<long long>(i));
        c += "\"kind\":\"";
        c += kindName(rec);
        c += "\",";
        appendText(c, "name", utf8(rec.nameGbk));
        appendInt(c, "x", rec.geometry.left);
        appendInt(c, "y", rec.geometry.top);
        appendInt(c, "w", rec.geometry.width);
        appendInt(c, "h", rec.geometry.height);
        // A container stored after its child cannot hold it: the child goes to the window.
        appendInt(c, "parent",
                  s.parent > 0 && static_cast<std::size_t>(s.parent) < i ? s.parent : 0);
        appendInt(c, "focus", (rec.stateFlags & form::kStateFocusable) ? 1 : 0);
        appendInt(c, "onClick", binds(rec, form::kEventClicked) ? 1 : 0);
        appendInt(c, "onDown", binds(rec, form::kEventMouseDown) ? 1 : 0);
        appendInt(c, "onUp", binds(rec, form::kEventMouseUp) ? 1 : 0);
        appendInt(c, "back", rec.backColor);
        c += "\"bars\":[" + std::to_string(rec.barColors[0]) + "," +
             std::to_string(rec.barColors[1]) + "," + std::to_string(rec.barColors[2]) + "],";
        if (rec.font) {
            c += "\"font\":{";
            appendInt(c, "px", fontPixels(rec.font->height));
            appendInt(c, "weight", rec.font->weight);
            appendInt(c, "italic", rec.font->italic);
            appendText(c, "face", utf8(rec.font->faceGbk));
            closeObject(c);
            c += ',';
        }
        if (rec.kind == form::Kind::Button) c += "\"face\":" + jsonPicture(rec.picture) + ",";
        if (const int k = focus::stopOf(stops, static_cast<int>(i)); k >= 0)
            appendStop(c, stops, k);
        c += "\"state\":" + describeState(window, static_cast<int>(i));
        c += '}';
        if (i > 1) out += ',';
        out += c;
    }
    out += "]}";
    return out;
}

std::string describeState(const ModelWindow& window, int index) {
    const ControlState s = window.state(index);
    std::string out = "{";
    appendInt(out, "i", index);
    if (s.record == nullptr) {
        closeObject(out);
        return out;
    }
    appendInt(out, "visible", s.visible ? 1 : 0);
    appendText(out, "caption", captionText(s.caption));
    appendInt(out, "color", static_cast<std::uint32_t>(s.textColor));
    appendInt(out, "checked", s.checked ? 1 : 0);
    if (s.record->kind == form::Kind::PictureBox)
        out += "\"pic\":" + jsonPicture(currentPicture(s)) + ",";
    closeObject(out);
    return out;
}

}  // namespace wt::web
