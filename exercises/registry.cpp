#include "exercises/registry.h"

namespace wt::ex {

void Exercises::registerHandlers(HandlerRegistry& registry) {
    continuousRun.registerHandlers(registry);
    jog.registerHandlers(registry);
    continuousJog.registerHandlers(registry);
    forwardReverse.registerHandlers(registry);
    doubleInterlock.registerHandlers(registry);
    multiLocation.registerHandlers(registry);
}

}  // namespace wt::ex
