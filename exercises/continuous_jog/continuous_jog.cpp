#include "exercises/continuous_jog/continuous_jog.h"

namespace wt::ex {

ContinuousJog::ContinuousJog() = default;

void ContinuousJog::registerHandlers(HandlerRegistry&) {}

}  // namespace wt::ex
