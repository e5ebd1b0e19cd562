// The MultiLocationExercise window: its wiring table and its operation. The motor is started
// from any of three start push-buttons and stopped from any of three stop push-buttons; a start
// walks an eight-step check of the terminal flags and names the first step that fails.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "exercises/multi_location/table.h"
#include "exercises/wiring.h"
#include "ui/ui.h"

namespace wt::ex {

class MultiLocation {
  public:
    // One step of the start check: every terminal named must carry its flag, else the
    // message (GBK) is shown.
    struct CheckStep {
        std::vector<std::string_view> terminals;  // UTF-8
        const char* message;
    };

    MultiLocation();
    void registerHandlers(HandlerRegistry& registry);

    // The steps in the order a start walks them.
    static const std::vector<CheckStep>& checkSteps();

    wiring::Wiring wiring;
    // Program-wide: the window-created handler leaves both as they are.
    std::atomic<std::int32_t> power{0};
    std::atomic<std::int32_t> running{0};

  private:
    void togglePower(const HandlerCall& call);
    void start(const HandlerCall& call);
    void stop(const HandlerCall& call);
};

}  // namespace wt::ex
