#include "exercises/continuous_run/continuous_run.h"

namespace wt::ex {

ContinuousRun::ContinuousRun() = default;

void ContinuousRun::registerHandlers(HandlerRegistry&) {}

}  // namespace wt::ex
