// The ForwardReverseExercise window: its wiring table and its operation (power switch, stop,
// forward start and reverse start).
#pragma once

#include <atomic>
#include <cstdint>

#include "exercises/wiring.h"
#include "ui/ui.h"

namespace wt::ex {

class ForwardReverse {
  public:
    ForwardReverse();
    void registerHandlers(HandlerRegistry& registry);

    // Program-wide state: the 45 terminal flags live in `wiring` (reset when the window opens);
    // the power and running flags keep their values from one opening to the next.
    wiring::Wiring wiring;
    std::atomic<std::int32_t> power{0};
    std::atomic<std::int32_t> running{0};

  private:
    enum class Direction { Forward, Reverse };

    void togglePower(const HandlerCall& call);
    void stop(const HandlerCall& call);
    void start(const HandlerCall& call, Direction direction);
    void synchroniseFlags(const HandlerCall& call);
    bool wiringComplete() const;
};

}  // namespace wt::ex
