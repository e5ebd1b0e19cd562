// The property table: number, name and value type of every property the program knows. The form
// compiler, the control model and the Qt binding all read this one table.
#pragma once

#include <optional>
#include <string_view>

#include "resources/form_reader.h"

namespace wt::prop {

// Common to every kind.
inline constexpr int Left = 0;
inline constexpr int Top = 1;
inline constexpr int Width = 2;
inline constexpr int Height = 3;
inline constexpr int Tag = 4;
inline constexpr int Visible = 5;
inline constexpr int Disabled = 6;
inline constexpr int MousePointer = 7;
// Kind-specific.
inline constexpr int Caption = 8;     // label
inline constexpr int Picture = 10;    // picture box
inline constexpr int TextColor = 17;  // label
inline constexpr int Checked = 18;    // check box

enum class Type { Integer, Boolean, Text, Media };

struct Info {
    int number;
    std::string_view name;
    Type type;
};

// Properties of every kind (numbers 0..7).
inline constexpr Info kCommon[] = {
    {Left, "left", Type::Integer},
    {Top, "top", Type::Integer},
    {Width, "width", Type::Integer},
    {Height, "height", Type::Integer},
    {Tag, "tag", Type::Text},
    {Visible, "visible", Type::Boolean},
    {Disabled, "disabled", Type::Boolean},
    {MousePointer, "mousePointer", Type::Integer},
};

// The own property of a kind with that number, if the kind has it.
constexpr std::optional<Info> find(form::Kind kind, int number) {
    for (const Info& info : kCommon)
        if (info.number == number) return info;
    switch (kind) {
        case form::Kind::Label:
            if (number == Caption) return Info{Caption, "caption", Type::Text};
            if (number == TextColor) return Info{TextColor, "textColor", Type::Integer};
            break;
        case form::Kind::PictureBox:
            if (number == Picture) return Info{Picture, "picture", Type::Media};
            break;
        case form::Kind::CheckBox:
            if (number == Checked) return Info{Checked, "checked", Type::Boolean};
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace wt::prop
