// The MultiLocationExercise window: its wiring table and its operation.
#pragma once

#include "ui/ui.h"

namespace wt::ex {

class MultiLocation {
public:
    MultiLocation();
    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
