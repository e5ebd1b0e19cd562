#include "exercises/continuous_run/continuous_run.h"

#include <string>

#include "exercises/continuous_run/table.h"
#include "exercises/ops.h"
#include "form_names.h"
#include "resources/media.h"

namespace wt::ex {

namespace {

namespace ctl = forms::controls::ContinuousRunExercise;
namespace handlers = forms::handlers::ContinuousRunExercise;

// The controls the logic drives, by their form names (GBK, as the model holds them).
constexpr std::string_view promptLabel = ctl::标签39;
constexpr std::string_view switchBox = ctl::图片框1;
constexpr std::string_view contactorBox = ctl::图片框2;
constexpr std::string_view motorBox = ctl::图片框7;

using media::Role;

}  // namespace

ContinuousRun::ContinuousRun() : wiring(continuousRunTable()) {}

void ContinuousRun::registerHandlers(HandlerRegistry& registry) {
    // Opened with the power on: the switch shown closed; the status label speaks only once a
    // start was tried, as the switch itself does.
    wiring.registerHandlers(registry, kWindow, power, [this](const HandlerCall& call) {
        ops::showKeptPower(call, power, switchBox, promptLabel, statusShown.load() == 1);
    });
    registry.add(handlers::透明标签1_mouseDown,
                 [this](const HandlerCall& call) { togglePower(call); });
    registry.add(handlers::按钮开_clicked, [this](const HandlerCall& call) { start(call); });
    registry.add(handlers::按钮关_clicked, [this](const HandlerCall& call) { stop(call); });
}

void ContinuousRun::togglePower(const HandlerCall& call) {
    ops::toggleQuietPower(call, power, statusShown, switchBox, promptLabel, contactorBox, motorBox);
}

void ContinuousRun::start(const HandlerCall& call) {
    ops::uncheck(call, wiring::Wiring::toggleName());
    // Only the terminal flags decide whether the circuit is complete, never the wire labels.
    for (std::string_view terminal : kContinuousRunStartCheck) {
        if (wiring.flag(terminal) == 0) {
            running.store(0);
            ops::message(call, text::kConnectWires);
            return;
        }
    }
    if (power.load() == 1) {
        running.store(1);
        statusShown.store(1);
        ops::show(call, promptLabel, true);
        ops::setColor(call, promptLabel, ops::kGreen);
        ops::setCaption(call, promptLabel, text::kMotorStarting);
        ops::setPicture(call, contactorBox, Role::ContactorPulledIn);
        ops::setPicture(call, motorBox, Role::MotorForward);
        // This window starts the long sound of the pair first.
        ops::play(call, Role::StartSound2);
        ops::play(call, Role::StartSound1);
    } else {
        ops::show(call, promptLabel, true);
        statusShown.store(1);
        running.store(0);
        ops::setColor(call, promptLabel, ops::kRed);
        ops::setCaption(call, promptLabel, text::kClosePower);
    }
}

void ContinuousRun::stop(const HandlerCall& call) {
    // The stop button acts after any successful start, even with the power already off; the
    // running flag is left at 1, so each further press repeats the stop.
    if (running.load() == 0) return;
    ops::show(call, promptLabel, true);
    ops::setColor(call, promptLabel, ops::kRed);
    ops::setCaption(call, promptLabel, text::kMotorHasStopped);
    ops::setPicture(call, contactorBox, Role::ContactorReleased);
    ops::setPicture(call, motorBox, Role::MotorAtRest);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
}

}  // namespace wt::ex
