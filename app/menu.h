// The exercise menu's six click handlers: each opens its exercise window in dialog mode and,
// once the learner has closed it, switches the program to visual style 1.
#pragma once

#include "ui/ui.h"

namespace wt::app {

// Registers "ExerciseMenu.<button>.clicked" for the six menu buttons.
void registerMenuHandlers(HandlerRegistry& registry);

}  // namespace wt::app
