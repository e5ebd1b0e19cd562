#include "exercises/double_interlock/double_interlock.h"

namespace wt::ex {

DoubleInterlock::DoubleInterlock() = default;

void DoubleInterlock::registerHandlers(HandlerRegistry&) {}

}  // namespace wt::ex
