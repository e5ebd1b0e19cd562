// The JogExercise window: its wiring table and its operation. The motor runs only while the jog
// push-button is held: the press hands the start sequence to a thread of its own, the release
// runs the stop sequence on the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "exercises/jog/table.h"
#include "exercises/wiring.h"
#include "ui/ui.h"

namespace wt::ex {

class Jog {
  public:
    Jog();
    void registerHandlers(HandlerRegistry& registry);

    // Press on the transparent label over the power switch.
    void togglePower(const HandlerCall& call);
    // Runs on the thread the jog press starts; shares flags and controls with the GUI thread,
    // so it touches them only through atomics and whole model operations.
    void startSequence(const HandlerCall& call);
    // The jog release, on the GUI thread.
    void stopSequence(const HandlerCall& call);

    wiring::Wiring wiring;
    // Program-wide flags; the window's created handler leaves them alone.
    std::atomic<std::int32_t> power{0};
    std::atomic<std::int32_t> statusShown{0};
};

}  // namespace wt::ex
