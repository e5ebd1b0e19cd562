#include "assets/form_geometry.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace wt::assets {

namespace {

bool parseInt(const std::string& s, int* out) {
    if (s.empty()) return false;
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, *out);
    return ec == std::errc() && ptr == end;
}

bool fail(std::string* error, int line, const std::string& what) {
    if (error) *error = "line " + std::to_string(line) + ": " + what;
    return false;
}

// Reads left, top, width, height from tokens[first..first+3].
bool parseRect(const std::vector<std::string>& t, std::size_t first, FormRect* r, int line,
               std::string* error) {
    if (t.size() < first + 4) return fail(error, line, "expected left top width height");
    int v[4];
    for (std::size_t i = 0; i < 4; ++i)
        if (!parseInt(t[first + i], &v[i]))
            return fail(error, line, "'" + t[first + i] + "' is not a whole number");
    if (v[2] < 0 || v[3] < 0) return fail(error, line, "negative width or height");
    *r = {v[0], v[1], v[2], v[3]};
    return true;
}

}  // namespace

bool tokenizeFormLine(std::string_view line, std::vector<std::string>* tokens) {
    tokens->clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size() || line[i] == '#') break;
        std::string token;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] == '#') break;
            if (line[i] != '"') {
                token += line[i++];
                continue;
            }
            ++i;  // opening quote
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    const char e = line[i++];
                    token += e == 'n' ? '\n' : e;
                } else {
                    token += c;
                }
            }
            if (!closed) return false;
        }
        tokens->push_back(std::move(token));
        if (i < line.size() && line[i] == '#') break;
    }
    return true;
}

std::optional<FormGeometry> parseFormGeometry(std::string_view text, std::string* error) {
    FormGeometry form;
    bool haveWindow = false;
    std::vector<std::string> t;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) nl = text.size();
        const std::string_view line = text.substr(pos, nl - pos);
        pos = nl + 1;
        ++lineNo;
        if (!tokenizeFormLine(line, &t)) {
            fail(error, lineNo, "unterminated quote");
            return std::nullopt;
        }
        if (t.empty()) continue;
        if (t[0] == "window") {
            if (haveWindow) {
                fail(error, lineNo, "second window line");
                return std::nullopt;
            }
            if (t.size() < 4 || !parseInt(t[2], &form.width) || !parseInt(t[3], &form.height) ||
                form.width <= 0 || form.height <= 0) {
                fail(error, lineNo, "expected window <Name> <width> <height>");
                return std::nullopt;
            }
            form.window = t[1];
            haveWindow = true;
            continue;
        }
        if (t[0] != "component" && t[0] != "control") continue;
        if (!haveWindow) {
            fail(error, lineNo, "'" + t[0] + "' before the window line");
            return std::nullopt;
        }
        if (t.size() < 3) {
            fail(error, lineNo, "expected a name and a kind");
            return std::nullopt;
        }
        FormRect rect;
        if (!parseRect(t, 3, &rect, lineNo, error)) return std::nullopt;
        if (t[0] == "component") {
            FormComponent c{t[1], t[2], rect, {}};
            if (t.size() > 7) c.caption = t[7];
            form.components.push_back(std::move(c));
            continue;
        }
        FormControl c{t[1], t[2], {}, rect};
        for (std::size_t i = 7; i < t.size(); ++i)
            if (t[i].rfind("parent=", 0) == 0) c.parent = t[i].substr(7);
        if (!c.parent.empty()) {
            const FormControl* box = nullptr;
            for (const FormControl& earlier : form.controls)
                if (earlier.name == c.parent && earlier.kind == "picturebox") box = &earlier;
            if (box == nullptr) {
                fail(error, lineNo,
                     "parent '" + c.parent + "' is not a picture box declared earlier");
                return std::nullopt;
            }
            c.rect.left += box->rect.left;
            c.rect.top += box->rect.top;
        }
        form.controls.push_back(std::move(c));
    }
    if (!haveWindow) {
        fail(error, 1, "no window line");
        return std::nullopt;
    }
    return form;
}

std::optional<FormGeometry> readFormGeometry(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + path;
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string inner;
    auto form = parseFormGeometry(text.str(), &inner);
    if (!form && error) *error = path + ": " + inner;
    return form;
}

}  // namespace wt::assets
