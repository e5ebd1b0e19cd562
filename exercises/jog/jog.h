// The JogExercise window: its wiring table and its operation.
#pragma once

#include "ui/ui.h"

namespace wt::ex {

class Jog {
public:
    Jog();
    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
