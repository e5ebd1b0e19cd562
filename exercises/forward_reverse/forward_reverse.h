// The ForwardReverseExercise window: its wiring table and its operation.
#pragma once

#include "ui/ui.h"

namespace wt::ex {

class ForwardReverse {
public:
    ForwardReverse();
    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
