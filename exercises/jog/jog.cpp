#include "exercises/jog/jog.h"

#include <string>
#include <string_view>

#include "exercises/ops.h"
#include "resources/media.h"
#include "ui/gbk.h"

namespace wt::ex {

namespace {

using media::Role;

constexpr std::string_view kWindow = "JogExercise";

// Control names as the model holds them (GBK), converted once.
const std::string& promptLabel() {
    static const std::string name = gbk("标签1");
    return name;
}
const std::string& switchBox() {
    static const std::string name = gbk("图片框1");
    return name;
}
const std::string& contactorBox() {
    static const std::string name = gbk("图片框2");
    return name;
}
const std::string& motorBox() {
    static const std::string name = gbk("图片框5");
    return name;
}

// The terminals whose flags must all be 1 before the motor may start, in the order they are
// tested. c3 is left out: d3 can only be marked while c3 is.
constexpr std::string_view kStartCheck[] = {
    "a1", "b1", "a2", "b2", "a3", "b3",  "c1",  "d1", "c2", "d2", "d3", "e1",
    "e2", "e3", "m1", "w1", "w2", "sb2", "sb1", "e5", "e4", "f2", "f1", "a4",
};

}  // namespace

Jog::Jog() : wiring(jogTable()) {}

void Jog::powerSwitch(const HandlerCall& call) {
    const std::int32_t on = power.fetch_xor(1) ^ 1;
    if (on == 1) {
        ops::setPicture(call, switchBox(), Role::SwitchClosed);
        ops::play(call, Role::SwitchCloseSound);
    } else {
        ops::setPicture(call, switchBox(), Role::SwitchOpen);
        ops::play(call, Role::SwitchOpenSound);
    }
    if (statusShown.load() != 1) {
        ops::show(call, promptLabel(), false);
        return;
    }
    if (on == 1) {
        ops::setPicture(call, contactorBox(), Role::ContactorReleased);
        ops::setColor(call, promptLabel(), ops::kGreen);
        ops::setCaption(call, promptLabel(), text::kPowerOn);
    } else {
        ops::show(call, promptLabel(), true);
        ops::setColor(call, promptLabel(), ops::kRed);
        ops::setCaption(call, promptLabel(), text::kPowerOff);
        ops::setPicture(call, contactorBox(), Role::ContactorReleased);
        ops::setPicture(call, motorBox(), Role::MotorAtRest);
        ops::play(call, Role::SwitchOpenSound);
    }
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
        ops::show(call, promptLabel(), true);
        ops::setColor(call, promptLabel(), ops::kGreen);
        ops::setCaption(call, promptLabel(), text::kMotorStarting);
        ops::setPicture(call, contactorBox(), Role::ContactorPulledIn);
        ops::play(call, Role::StartSound1);
        ops::setPicture(call, motorBox(), Role::MotorForward);
        ops::play(call, Role::StartSound2);
    } else {
        ops::show(call, promptLabel(), true);
        statusShown.store(1);
        ops::setColor(call, promptLabel(), ops::kRed);
        ops::setCaption(call, promptLabel(), text::kClosePower);
        ops::setPicture(call, contactorBox(), Role::ContactorReleased);
    }
}

void Jog::stopSequence(const HandlerCall& call) {
    ops::uncheck(call, wiring::Wiring::toggleName());
    ops::show(call, promptLabel(), true);
    statusShown.store(1);
    ops::setColor(call, promptLabel(), ops::kRed);
    ops::setCaption(call, promptLabel(), text::kMotorStopped);
    ops::setPicture(call, contactorBox(), Role::ContactorReleased);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
    ops::setPicture(call, motorBox(), Role::MotorAtRest);
}

void Jog::registerHandlers(HandlerRegistry& registry) {
    const std::string window(kWindow);
    wiring.registerHandlers(registry, window, power);
    registry.add(window + ".透明标签1.mouseDown",
                 [this](const HandlerCall& call) { powerSwitch(call); });
    // The press only hands the start sequence to a new thread, so the GUI thread stays free for
    // the release (and a "请连线" box blocks only that thread).
    registry.add(window + ".按钮1.mouseDown", [this](const HandlerCall& call) {
        call.ui.startThread([this](const HandlerCall& own) { startSequence(own); }, call);
    });
    registry.add(window + ".按钮1.mouseUp",
                 [this](const HandlerCall& call) { stopSequence(call); });
}

}  // namespace wt::ex
