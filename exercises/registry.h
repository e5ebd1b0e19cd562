// All six exercises with their program-wide state. The program makes one; each test makes its
// own, so that every scenario starts from the flags of a fresh program.
#pragma once

#include "exercises/continuous_jog/continuous_jog.h"
#include "exercises/continuous_run/continuous_run.h"
#include "exercises/double_interlock/double_interlock.h"
#include "exercises/forward_reverse/forward_reverse.h"
#include "exercises/jog/jog.h"
#include "exercises/multi_location/multi_location.h"
#include "ui/ui.h"

namespace wt::ex {

struct Exercises {
    ContinuousRun continuousRun;
    Jog jog;
    ContinuousJog continuousJog;
    ForwardReverse forwardReverse;
    DoubleInterlock doubleInterlock;
    MultiLocation multiLocation;

    void registerHandlers(HandlerRegistry& registry);
};

}  // namespace wt::ex
