// The ContinuousRunExercise window: its wiring table and its operation (power switch, start and
// stop push-buttons). The flags live for the whole run of the program; the window's created
// handler clears only the terminal flags.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "exercises/wiring.h"
#include "ui/ui.h"

namespace wt::ex {

class ContinuousRun {
  public:
    static constexpr std::string_view kWindow = "ContinuousRunExercise";

    ContinuousRun();
    void registerHandlers(HandlerRegistry& registry);

    // Press on 透明标签1: the power switch toggles.
    void togglePower(const HandlerCall& call);
    // Click on 按钮开.
    void start(const HandlerCall& call);
    // Click on 按钮关.
    void stop(const HandlerCall& call);

    wiring::Wiring wiring;
    std::atomic<std::int32_t> power{0};        // the power switch is closed
    std::atomic<std::int32_t> running{0};      // the last start succeeded
    std::atomic<std::int32_t> statusShown{0};  // a start has written the status label
};

}  // namespace wt::ex
