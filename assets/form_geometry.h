// The part of a form source that the diagram generator needs: the window's client size, the
// diagram components and the geometry of the controls. Qt-free; the form compiler owns the full
// format and its checks, this reader only refuses what would misplace a drawing.
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
    std::string kind;    // terminal, wire, picturebox, button, label, ...
    std::string parent;  // picture box name, empty for the window
    FormRect rect;       // window pixels (a parent's offset already added)
};

struct FormGeometry {
    std::string window;
    int width = 0, height = 0;
    std::vector<FormComponent> components;
    std::vector<FormControl> controls;
};

// Parses form source text. On a malformed window, component or control line returns nothing
// and, when `error` is given, "line N: what is wrong". Other directives are left to the form
// compiler and skipped here.
std::optional<FormGeometry> parseFormGeometry(std::string_view text, std::string* error);
std::optional<FormGeometry> readFormGeometry(const std::string& path, std::string* error);

// Tokens of one source line: spaces separate, "..." groups (also inside a token such as
// caption="a b"), \" and \n escape inside quotes, # outside quotes ends the line. False on an
// unterminated quote.
bool tokenizeFormLine(std::string_view line, std::vector<std::string>* tokens);

}  // namespace wt::assets
