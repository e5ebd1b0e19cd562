#include "exercises/jog/jog.h"

#include <string>
#include <string_view>

#include "exercises/ops.h"
#include "form_names.h"
#include "resources/media.h"

namespace wt::ex {

namespace {

namespace ctl = forms::controls::JogExercise;
namespace handlers = forms::handlers::JogExercise;

// The controls the logic drives, by their form names (GBK, as the model holds them).
constexpr std::string_view promptLabel = ctl::标签1;
constexpr std::string_view switchBox = ctl::图片框1;
constexpr std::string_view contactorBox = ctl::图片框2;
constexpr std::string_view motorBox = ctl::图片框5;

using media::Role;

constexpr std::string_view kWindow = "JogExercise";

// The terminals whose flags must all be 1 before the motor may start, in the order they are
// tested. c3 is left out: d3 can only be marked while c3 is.
constexpr std::string_view kStartCheck[] = {
    "a1", "b1", "a2", "b2", "a3", "b3",  "c1",  "d1", "c2", "d2", "d3", "e1",
    "e2", "e3", "m1", "w1", "w2", "sb2", "sb1", "e5", "e4", "f2", "f1", "a4",
};

}  // namespace

Jog::Jog() : wiring(jogTable()) {}

void Jog::togglePower(const HandlerCall& call) {
    ops::toggleQuietPower(call, power, statusShown, switchBox, promptLabel, contactorBox, motorBox);
}

void Jog::startSequence(const HandlerCall& call) {
    ops::uncheck(call, wiring::Wiring::toggleName());
    for (std::string_view terminal : kStartCheck) {
        if (wiring.flag(terminal) != 1) {
            ops::message(call, text::kConnectWires);
            return;
        }
    }
    if (power.load() == 1) {
        statusShown.store(1);
        ops::show(call, promptLabel, true);
        ops::setColor(call, promptLabel, ops::kGreen);
        ops::setCaption(call, promptLabel, text::kMotorStarting);
        ops::setPicture(call, contactorBox, Role::ContactorPulledIn);
        ops::play(call, Role::StartSound1);
        ops::setPicture(call, motorBox, Role::MotorForward);
        ops::play(call, Role::StartSound2);
    } else {
        ops::show(call, promptLabel, true);
        statusShown.store(1);
        ops::setColor(call, promptLabel, ops::kRed);
        ops::setCaption(call, promptLabel, text::kClosePower);
        ops::setPicture(call, contactorBox, Role::ContactorReleased);
    }
}

void Jog::stopSequence(const HandlerCall& call) {
    ops::uncheck(call, wiring::Wiring::toggleName());
    ops::show(call, promptLabel, true);
    statusShown.store(1);
    ops::setColor(call, promptLabel, ops::kRed);
    ops::setCaption(call, promptLabel, text::kMotorStopped);
    ops::setPicture(call, contactorBox, Role::ContactorReleased);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
    ops::setPicture(call, motorBox, Role::MotorAtRest);
}

void Jog::registerHandlers(HandlerRegistry& registry) {
    const std::string window(kWindow);
    // Opened with the power on: the switch shown closed; the status label speaks only once a
    // start was tried, as the switch itself does.
    wiring.registerHandlers(registry, window, power, [this](const HandlerCall& call) {
        ops::showKeptPower(call, power, switchBox, promptLabel, statusShown.load() == 1);
    });
    registry.add(handlers::透明标签1_mouseDown,
                 [this](const HandlerCall& call) { togglePower(call); });
    // The press only hands the start sequence to a new thread, so the GUI thread stays free for
    // the release (and a "请连线" box blocks only that thread).
    registry.add(handlers::按钮1_mouseDown, [this](const HandlerCall& call) {
        call.ui.startThread([this](const HandlerCall& own) { startSequence(own); }, call);
    });
    registry.add(handlers::按钮1_mouseUp, [this](const HandlerCall& call) { stopSequence(call); });
}

}  // namespace wt::ex
