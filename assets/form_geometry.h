// The part of a form source that the diagram generator needs: the window's client size, the
// diagram components and the geometry of the controls in window pixels. Qt-free; read with the
// shared form source parser, so the drawing accepts exactly what the form compiler accepts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wt::assets {

struct FormRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const FormRect&) const = default;
};

struct FormComponent {
    std::string label;  // QS, FU1, KM, SB1, M, ...
    std::string type;   // switch, contactor, relay, fuse, pushbutton, coil, motor, auxcontact, text
    FormRect rect;      // window pixels
    std::string caption;
};

struct FormControl {
    std::string name;
    std::string kind;     // terminal, wire, picturebox, button, label, ...
    std::string parent;   // picture box name, empty for the window
    FormRect rect;        // window pixels (a parent's offset already added)
    std::string caption;  // as stored, empty when the form gives none
    std::string picture;  // asset name of the stored picture, empty when none
};

struct FormGeometry {
    std::string window;
    int width = 0, height = 0;
    std::vector<FormComponent> components;
    std::vector<FormControl> controls;
};

// Parses form source text. On any mistake returns nothing and, when `error` is given,
// "line N: what is wrong" for the first one.
std::optional<FormGeometry> parseFormGeometry(std::string_view text, std::string* error);
// The same for a file; the error is "path:N: what is wrong".
std::optional<FormGeometry> readFormGeometry(const std::string& path, std::string* error);

}  // namespace wt::assets
