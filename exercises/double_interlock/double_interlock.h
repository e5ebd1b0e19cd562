// The DoubleInterlockExercise window: its wiring table and its operation.
#pragma once

#include "ui/ui.h"

namespace wt::ex {

class DoubleInterlock {
public:
    DoubleInterlock();
    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
