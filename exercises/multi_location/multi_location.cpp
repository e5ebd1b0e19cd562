#include "exercises/multi_location/multi_location.h"

namespace wt::ex {

MultiLocation::MultiLocation() = default;

void MultiLocation::registerHandlers(HandlerRegistry&) {}

}  // namespace wt::ex
