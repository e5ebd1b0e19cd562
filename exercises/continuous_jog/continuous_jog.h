// The ContinuousJogExercise window: its wiring table and its operation.
#pragma once

#include "ui/ui.h"

namespace wt::ex {

class ContinuousJog {
public:
    ContinuousJog();
    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
