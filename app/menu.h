// The exercise menu's six click handlers: each opens its exercise window in dialog mode and,
// once the learner has closed it, switches the program to visual style 1.
#pragma once

#include <cstdint>
#include <span>

#include "ui/ui.h"

namespace wt::app {

// A menu button (its control name, UTF-8) and the exercise window it opens.
struct MenuButton {
    const char* name;
    std::uint32_t window;
};
std::span<const MenuButton> menuButtons();

// Registers "ExerciseMenu.<button>.clicked" for the six menu buttons.
void registerMenuHandlers(HandlerRegistry& registry);

}  // namespace wt::app
