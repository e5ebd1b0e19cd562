#include "exercises/multi_location/multi_location.h"

#include <string>

#include "exercises/ops.h"
#include "form_names.h"
#include "resources/media.h"

namespace wt::ex {

namespace {

namespace ctl = forms::controls::MultiLocationExercise;
namespace handlers = forms::handlers::MultiLocationExercise;

// The controls the logic drives, by their form names (GBK, as the model holds them).
constexpr std::string_view promptLabel = ctl::标签1;
constexpr std::string_view switchBox = ctl::图片框1;
constexpr std::string_view contactorBox = ctl::图片框2;
constexpr std::string_view motorBox = ctl::图片框6;

constexpr std::string_view kWindow = "MultiLocationExercise";

using media::Role;

// Every status text on this window is shown with its colour at the same moment.
}  // namespace

MultiLocation::MultiLocation() : wiring(multiLocationTable()) {}

const std::vector<MultiLocation::CheckStep>& MultiLocation::checkSteps() {
    // The messages number the steps 1-5, 8 and 9; the last step names no group.
    static const std::vector<CheckStep> steps = {
        {{"a1", "a2", "a3", "a4"}, text::kConnectWiresN[1]},
        {{"b1", "b2", "b3", "b4"}, text::kConnectWiresN[2]},
        {{"c1", "c2", "c3", "c4"}, text::kConnectWiresN[3]},
        {{"d1", "d2", "d3"}, text::kConnectWiresN[4]},
        {{"e1", "e2", "e3", "e4", "e5", "m1"}, text::kConnectWiresN[5]},
        {{"w1", "w2", "f1", "f2"}, text::kConnectWiresN[8]},
        {{"sb1", "sb2", "sb3", "sb4", "sb5", "sb6"}, text::kConnectWiresN[9]},
        {{"s1", "s2", "s3", "s4", "s5", "s6"}, text::kConnectWires},
    };
    return steps;
}

void MultiLocation::registerHandlers(HandlerRegistry& registry) {
    // Opened with the power on: the switch shown closed and the power announced, as the switch
    // itself does.
    wiring.registerHandlers(registry, kWindow, power, [this](const HandlerCall& call) {
        ops::showKeptPower(call, power, switchBox, promptLabel, true);
    });
    registry.add(handlers::透明标签1_mouseDown,
                 [this](const HandlerCall& call) { togglePower(call); });
    for (const char* handler :
         {handlers::按钮1_clicked, handlers::按钮3_clicked, handlers::按钮5_clicked})  // SB4-6
        registry.add(handler, [this](const HandlerCall& call) { start(call); });
    for (const char* handler :
         {handlers::按钮2_clicked, handlers::按钮4_clicked, handlers::按钮6_clicked})  // SB1-3
        registry.add(handler, [this](const HandlerCall& call) { stop(call); });
}

// Closing the switch only announces the power; opening it also shows the motor at rest but
// leaves the contactor picture and the running flag alone.
void MultiLocation::togglePower(const HandlerCall& call) {
    ops::toggleAnnouncedPower(call, power, switchBox, promptLabel, motorBox);
}

void MultiLocation::start(const HandlerCall& call) {
    // The loop through SB5 and SB6 counts as closed at s6 exactly when both of its wires show,
    // whatever the click rules left in the flag.
    const bool loopClosed = wiring::Wiring::labelVisible(call, ctl::x4线) &&
                            wiring::Wiring::labelVisible(call, ctl::h8线);
    wiring.setFlag("s6", loopClosed ? 1 : 0);

    for (const CheckStep& step : checkSteps()) {
        for (std::string_view terminal : step.terminals) {
            if (wiring.flag(terminal) == 0) {
                running.store(0);
                ops::message(call, step.message);
                return;
            }
        }
    }
    if (power.load() == 0) return;  // complete wiring without power: nothing happens

    running.store(1);
    ops::status(call, promptLabel, ops::kGreen, text::kMotorForward);
    ops::setPicture(call, contactorBox, Role::ContactorPulledIn);
    ops::setPicture(call, motorBox, Role::MotorForward);
    ops::play(call, Role::StartSound1);
    ops::play(call, Role::StartSound2);
}

// The running flag stays set, so every further stop press repeats the stop.
void MultiLocation::stop(const HandlerCall& call) {
    if (running.load() == 0) return;
    ops::status(call, promptLabel, ops::kRed, text::kMotorHasStopped);
    ops::setPicture(call, contactorBox, Role::ContactorReleased);
    ops::setPicture(call, motorBox, Role::MotorAtRest);
    ops::play(call, Role::StopSound1);
    ops::play(call, Role::StopSound2);
}

}  // namespace wt::ex
