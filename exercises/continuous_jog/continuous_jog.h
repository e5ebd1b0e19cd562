// The ContinuousJogExercise window: its wiring table and its operation. The motor is started and
// held by the start push-button, stopped by the stop push-button, or run only while the jog
// push-button is held; the jog press runs its start sequence on a thread of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exercises/continuous_jog/table.h"
#include "exercises/wiring.h"
#include "ui/ui.h"

namespace wt::ex {

class ContinuousJog {
  public:
    ContinuousJog();
    void registerHandlers(HandlerRegistry& registry);

    // Press on the transparent label over the power switch.
    void togglePower(const HandlerCall& call);
    // The start push-button (GUI thread).
    void startSequence(const HandlerCall& call);
    // The jog press's start sequence, on a thread of its own: it shares flags and controls with
    // the GUI thread and touches them only through atomics and whole model operations.
    void jogStartSequence(const HandlerCall& call);
    // The stop push-button (GUI thread).
    void stop(const HandlerCall& call);
    // The jog release (GUI thread).
    void jogRelease(const HandlerCall& call);

    // Program-wide flags; the window's created handler leaves them alone.
    std::atomic<std::int32_t> memoryToggle{0};
    std::atomic<std::int32_t> power{0};
    std::atomic<std::int32_t> running{0};
    std::atomic<std::int32_t> statusShown{0};
    wiring::Wiring wiring;

  private:
    // Runs a start check step by step: each step names a terminal whose flag must be 1, or is
    // empty for the wire test (the jog line sb9线 and the start line sb6线 both shown).
    bool passes(const HandlerCall& call, const std::string_view* steps, std::size_t count) const;
    // The start sequence shared by the start push-button and the jog press.
    void start(const HandlerCall& call, bool jog);
};

}  // namespace wt::ex
