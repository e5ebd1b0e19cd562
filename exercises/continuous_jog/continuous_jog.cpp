#include "exercises/continuous_jog/continuous_jog.h"

#include <iterator>
#include <string>
#include <string_view>

#include "exercises/ops.h"
#include "form_names.h"
#include "resources/media.h"

namespace wt::ex {

namespace {

namespace ctl = forms::controls::ContinuousJogExercise;
namespace handlers = forms::handlers::ContinuousJogExercise;

// The controls the logic drives, by their form names (GBK, as the model holds them).
constexpr std::string_view promptLabel = ctl::标签3;
constexpr std::string_view switchBox = ctl::图片框2;
constexpr std::string_view contactorBox = ctl::图片框3;
constexpr std::string_view motorBox = ctl::图片框9;

using media::Role;

constexpr std::string_view kWindow = "ContinuousJogExercise";

// The start checks, in the order they are tested. An empty entry is the wire test: sb4's flag
// cannot show whether its two groups are wired (sb2's completion clears it), so the checks look
// at the wires of the jog line and of the start line instead.
constexpr std::string_view kWireTest;
constexpr std::string_view kStartButtonCheck[] = {
    "a1", "b1", "a2", "b2", "a3", "b3", "c1",  "d1",      "c2",  "d2",  "c3",
    "e1", "e2", "e3", "m1", "w1", "w2", "sb3", kWireTest, "sb2", "sb1", "e5",
    "f2", "f1", "a4", "b4", "c4", "d3", "sb5", "sb6",     "sb7", "sb8", "e4",
};
// The jog check leaves c3 out: d3 can only be marked while c3 is.
constexpr std::string_view kJogCheck[] = {
    "a1", "b1", "a2", "b2", "a3", "b3", "c1",  "d1",      "c2",  "d2",  "d3",
    "e1", "e2", "e3", "m1", "w1", "w2", "sb3", kWireTest, "sb2", "sb1", "e5",
    "e4", "f2", "f1", "a4", "b4", "c4", "sb5", "sb6",     "sb7", "sb8",
};

}  // namespace

ContinuousJog::ContinuousJog() : wiring(continuousJogTable(memoryToggle)) {}

bool ContinuousJog::passes(const HandlerCall& call, const std::string_view* steps,
                           std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i) {
        if (steps[i].empty()) {
            if (!wiring::Wiring::labelVisible(call, ctl::sb9线) ||
                !wiring::Wiring::labelVisible(call, ctl::sb6线))
                return false;
        } else if (wiring.flag(steps[i]) != 1) {
            return false;
        }
    }
    return true;
}

void ContinuousJog::start(const HandlerCall& call, bool jog) {
    ops::uncheck(call, wiring::Wiring::toggleName());
    const bool wired = jog ? passes(call, kJogCheck, std::size(kJogCheck))
                           : passes(call, kStartButtonCheck, std::size(kStartButtonCheck));
    if (!wired) {
        running.store(0);
        ops::message(call, text::kConnectWires);
        return;
    }
    if (power.load() == 1) {
        running.store(1);
        statusShown.store(1);
        ops::show(call, promptLabel, true);
        ops::setColor(call, promptLabel, ops::kGreen);
        ops::setCaption(call, promptLabel, text::kMotorStarting);
        ops::setPicture(call, motorBox, Role::MotorForward);
        ops::setPicture(call, contactorBox, Role::ContactorPulledIn);
        ops::play(call, Role::StartSound1);
        ops::play(call, Role::StartSound2);
    } else {
        ops::show(call, promptLabel, true);
        statusShown.store(1);
        running.store(0);
        ops::setColor(call, promptLabel, ops::kRed);
        ops::setCaption(call, promptLabel, text::kClosePower);
    }
}

void ContinuousJog::startSequence(const HandlerCall& call) {
    start(call, false);
}

void ContinuousJog::jogStartSequence(const HandlerCall& call) {
    start(call, true);
}

void ContinuousJog::togglePower(const HandlerCall& call) {
    ops::toggleQuietPower(call, power, statusShown, switchBox, promptLabel, {}, motorBox);
}

void ContinuousJog::stop(const HandlerCall& call) {
    // The running flag is left set, so every further click repeats the stop.
    if (running.load() != 1) return;
    ops::show(call, promptLabel, true);
    ops::setColor(call, promptLabel, ops::kRed);
    ops::setCaption(call, promptLabel, text::kMotorHasStopped);
    ops::setPicture(call, contactorBox, Role::ContactorReleased);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
    ops::setPicture(call, motorBox, Role::MotorAtRest);
}

void ContinuousJog::jogRelease(const HandlerCall& call) {
    ops::uncheck(call, wiring::Wiring::toggleName());
    ops::show(call, promptLabel, true);
    statusShown.store(1);
    running.store(0);
    ops::setColor(call, promptLabel, ops::kRed);
    ops::setCaption(call, promptLabel, text::kMotorStopped);
    ops::setPicture(call, motorBox, Role::MotorAtRest);
    ops::setPicture(call, contactorBox, Role::ContactorReleased);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
}

void ContinuousJog::registerHandlers(HandlerRegistry& registry) {
    const std::string window(kWindow);
    // Opened with the power on: the switch shown closed; the status label speaks only once a
    // start was tried, as the switch itself does.
    wiring.registerHandlers(registry, window, power, [this](const HandlerCall& call) {
        ops::showKeptPower(call, power, switchBox, promptLabel, statusShown.load() == 1);
    });
    registry.add(handlers::透明标签1_mouseDown,
                 [this](const HandlerCall& call) { togglePower(call); });
    registry.add(handlers::按钮2_clicked, [this](const HandlerCall& call) { startSequence(call); });
    registry.add(handlers::按钮1_clicked, [this](const HandlerCall& call) { stop(call); });
    // The jog press only hands its start sequence to a new thread; the GUI thread stays free for
    // the release, and a "请连线" box blocks only that thread.
    registry.add(handlers::按钮3_mouseDown, [this](const HandlerCall& call) {
        call.ui.startThread([this](const HandlerCall& own) { jogStartSequence(own); }, call);
    });
    registry.add(handlers::按钮3_mouseUp, [this](const HandlerCall& call) { jogRelease(call); });
}

}  // namespace wt::ex
