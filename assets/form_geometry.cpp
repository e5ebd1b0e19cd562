#include "assets/form_geometry.h"

#include "resources/form_source.h"

namespace wt::assets {

namespace {

FormRect toRect(const formsrc::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

FormGeometry fromSource(const formsrc::Window& w) {
    FormGeometry form;
    form.window = w.name;
    form.width = w.width;
    form.height = w.height;
    for (const formsrc::Component& c : w.components)
        form.components.push_back({c.label, c.type, toRect(c.rect), c.caption});
    for (const formsrc::Control& c : w.controls)
        form.controls.push_back({c.name, std::string(c.kind->name), c.parent,
                                 toRect(w.windowRect(c)), c.caption.value_or(""), c.picture});
    return form;
}

}  // namespace

std::optional<FormGeometry> parseFormGeometry(std::string_view text, std::string* error) {
    formsrc::Diagnostics diagnostics;
    auto window = formsrc::parse(text, {}, diagnostics);
    if (!window) {
        if (error && !diagnostics.empty())
            *error = "line " + std::to_string(diagnostics.front().line) + ": " +
                     diagnostics.front().message;
        return std::nullopt;
    }
    return fromSource(*window);
}

std::optional<FormGeometry> readFormGeometry(const std::string& path, std::string* error) {
    formsrc::Diagnostics diagnostics;
    auto window = formsrc::read(path, diagnostics);
    if (!window) {
        if (error && !diagnostics.empty())
            *error = path + ": line " + std::to_string(diagnostics.front().line) + ": " +
                     diagnostics.front().message;
        return std::nullopt;
    }
    return fromSource(*window);
}

}  // namespace wt::assets
