// What the page needs to know about a model window, as JSON: the window with its title,
// geometry and background, and every control with its kind, name, geometry, container, font,
// colours, bound events and current state. Texts are UTF-8; pictures are named by their place
// in the program's memory ({"p": address, "n": length}) and always lie inside their storage.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ui/ui.h"

namespace wt::web {

// JSON string literal of a UTF-8 text, quotes included.
std::string jsonString(std::string_view utf8Text);
// {"p":…,"n":…} for a file, null for an empty one.
std::string jsonPicture(std::span<const std::uint8_t> file);

// The page's name for a control kind: "window", "label", "wire", "button", "picture",
// "check" or "area".
std::string_view kindName(const form::ControlRecord& record);
// The picture a picture box shows now: the one set by the logic when it is a valid blob,
// otherwise the one stored in the record.
std::span<const std::uint8_t> currentPicture(const ControlState& state);

// {"serial","id","title","w","h","bg","tab":[control indices in Tab order],"controls":[…]};
// a control that acts also has "spoken", "desc" and "nav" (see appendStop).
std::string describeWindow(const ModelWindow& window, std::string_view titleUtf8);
// The changing part of one control: {"i","shown","visible","caption","color","checked","pic"}
std::string describeState(const ModelWindow& window, int index);

}  // namespace wt::web
