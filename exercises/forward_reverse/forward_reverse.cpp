#include "exercises/forward_reverse/forward_reverse.h"

namespace wt::ex {

ForwardReverse::ForwardReverse() = default;

void ForwardReverse::registerHandlers(HandlerRegistry&) {}

}  // namespace wt::ex
