#include "exercises/jog/jog.h"

namespace wt::ex {

Jog::Jog() = default;

void Jog::registerHandlers(HandlerRegistry&) {}

}  // namespace wt::ex
