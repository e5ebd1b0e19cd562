#include "exercises/continuous_run/continuous_run.h"

#include <string>

#include "exercises/continuous_run/table.h"
#include "exercises/ops.h"
#include "resources/media.h"
#include "ui/gbk.h"

namespace wt::ex {

namespace {

using media::Role;

const std::string& promptLabel() {
    static const std::string name = gbk("标签39");
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
    static const std::string name = gbk("图片框7");
    return name;
}

}  // namespace

ContinuousRun::ContinuousRun() : wiring(continuousRunTable()) {}

void ContinuousRun::registerHandlers(HandlerRegistry& registry) {
    wiring.registerHandlers(registry, kWindow, power);
    const std::string prefix(kWindow);
    registry.add(prefix + ".透明标签1.mouseDown",
                 [this](const HandlerCall& call) { powerToggle(call); });
    registry.add(prefix + ".按钮开.clicked", [this](const HandlerCall& call) { start(call); });
    registry.add(prefix + ".按钮关.clicked", [this](const HandlerCall& call) { stop(call); });
}

void ContinuousRun::powerToggle(const HandlerCall& call) {
    const bool on = (power.fetch_xor(1) ^ 1) == 1;
    if (on) {
        ops::setPicture(call, switchBox(), Role::SwitchClosed);
        ops::play(call, Role::SwitchCloseSound);
    } else {
        ops::setPicture(call, switchBox(), Role::SwitchOpen);
        ops::play(call, Role::SwitchOpenSound);
    }
    if (statusShown.load() != 1) {
        // No start has been tried yet: the status label has nothing to say.
        ops::show(call, promptLabel(), false);
    } else if (on) {
        // The motor does not restart by itself; the label keeps its visibility.
        ops::setPicture(call, contactorBox(), Role::ContactorReleased);
        ops::setColor(call, promptLabel(), ops::kGreen);
        ops::setCaption(call, promptLabel(), text::kPowerOn);
    } else {
        // Opening the switch drops out the contactor and stops the motor on the screen; the
        // running flag stays as it is. The switch sound is started a second time here.
        ops::show(call, promptLabel(), true);
        ops::setColor(call, promptLabel(), ops::kRed);
        ops::setCaption(call, promptLabel(), text::kPowerOff);
        ops::setPicture(call, contactorBox(), Role::ContactorReleased);
        ops::setPicture(call, motorBox(), Role::MotorAtRest);
        ops::play(call, Role::SwitchOpenSound);
    }
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
        ops::show(call, promptLabel(), true);
        ops::setColor(call, promptLabel(), ops::kGreen);
        ops::setCaption(call, promptLabel(), text::kMotorStarting);
        ops::setPicture(call, contactorBox(), Role::ContactorPulledIn);
        ops::setPicture(call, motorBox(), Role::MotorForward);
        // This window starts the long sound of the pair first.
        ops::play(call, Role::StartSound2);
        ops::play(call, Role::StartSound1);
    } else {
        ops::show(call, promptLabel(), true);
        statusShown.store(1);
        running.store(0);
        ops::setColor(call, promptLabel(), ops::kRed);
        ops::setCaption(call, promptLabel(), text::kClosePower);
    }
}

void ContinuousRun::stop(const HandlerCall& call) {
    // The stop button acts after any successful start, even with the power already off; the
    // running flag is left at 1, so each further press repeats the stop.
    if (running.load() == 0) return;
    ops::show(call, promptLabel(), true);
    ops::setColor(call, promptLabel(), ops::kRed);
    ops::setCaption(call, promptLabel(), text::kMotorHasStopped);
    ops::setPicture(call, contactorBox(), Role::ContactorReleased);
    ops::setPicture(call, motorBox(), Role::MotorAtRest);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
}

}  // namespace wt::ex
