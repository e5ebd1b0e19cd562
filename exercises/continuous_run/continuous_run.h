// The ContinuousRunExercise window: its wiring table and its operation.
#pragma once

#include "ui/ui.h"

namespace wt::ex {

class ContinuousRun {
public:
    ContinuousRun();
    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
