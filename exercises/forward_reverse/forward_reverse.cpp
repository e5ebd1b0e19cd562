#include "exercises/forward_reverse/forward_reverse.h"

#include <string>

#include "exercises/forward_reverse/table.h"
#include "exercises/ops.h"
#include "form_names.h"
#include "resources/gbk.h"

namespace wt::ex {

namespace {

namespace ctl = forms::controls::ForwardReverseExercise;
namespace handlers = forms::handlers::ForwardReverseExercise;

// The controls the logic drives, by their form names (GBK, as the model holds them).
constexpr std::string_view promptLabel = ctl::标签3;
constexpr std::string_view switchBox = ctl::图片框1;
constexpr std::string_view motorBox = ctl::图片框5;
constexpr ops::ReversingBoxes kBoxes{promptLabel, ctl::图片框2, ctl::图片框4, motorBox};

constexpr std::string_view kWindow = "ForwardReverseExercise";

// Terminals whose flags the start check tests, in the order it tests them.
constexpr std::string_view kCheckOrder[] = {
    "a1", "a2", "a3", "a4", "b1", "b2", "b3", "b4", "b5", "c1",  "c2",  "c3",  "c4",  "c5",  "m1",
    "d1", "d2", "d3", "e1", "e2", "e3", "e4", "e5", "f1", "f2",  "g1",  "g2",  "g3",  "g4",  "g5",
    "h1", "h2", "h3", "h4", "h5", "w1", "w2", "w3", "w4", "sb1", "sb2", "sb3", "sb4", "sb5", "sb6"};

// Before a start check, a wire that is drawn marks both of its ends, whatever the latch clicks
// left in their flags. These rules only ever set flags.
struct Sync {
    std::string_view label;
    std::string_view first, second;
};
constexpr Sync kSyncRules[] = {
    {"sb7线", "sb5", "c5"}, {"no9线", "sb5", "g4"}, {"sb1线", "sb2", "sb6"},
    {"s5线", "sb2", "sb4"}, {"n7线", "h4", "sb6"},
};

}  // namespace

ForwardReverse::ForwardReverse() : wiring(forwardReverseTable()) {}

void ForwardReverse::registerHandlers(HandlerRegistry& registry) {
    // Opened with the power on: the switch shown closed and the power announced, as the switch
    // itself does.
    wiring.registerHandlers(registry, kWindow, power, [this](const HandlerCall& call) {
        ops::showKeptPower(call, power, switchBox, promptLabel, true);
    });
    registry.add(handlers::透明标签1_mouseDown,
                 [this](const HandlerCall& call) { togglePower(call); });
    registry.add(handlers::按钮1_clicked, [this](const HandlerCall& call) { stop(call); });
    registry.add(handlers::按钮2_clicked,
                 [this](const HandlerCall& call) { start(call, Direction::Forward); });
    registry.add(handlers::按钮3_clicked,
                 [this](const HandlerCall& call) { start(call, Direction::Reverse); });
}

void ForwardReverse::synchroniseFlags(const HandlerCall& call) {
    for (const Sync& rule : kSyncRules) {
        if (!wiring::Wiring::labelVisible(call, gbk(rule.label))) continue;
        wiring.setFlag(rule.first, 1);
        wiring.setFlag(rule.second, 1);
    }
}

bool ForwardReverse::wiringComplete() const {
    for (std::string_view terminal : kCheckOrder)
        if (wiring.flag(terminal) == 0) return false;
    return true;
}

void ForwardReverse::start(const HandlerCall& call, Direction direction) {
    // The forward button synchronises before leaving remove mode, the reverse button after.
    if (direction == Direction::Forward) {
        synchroniseFlags(call);
        ops::uncheck(call, wiring::Wiring::toggleName());
    } else {
        ops::uncheck(call, wiring::Wiring::toggleName());
        synchroniseFlags(call);
    }
    if (!wiringComplete()) {
        running.store(0);
        ops::message(call, text::kConnectWires);
        return;
    }
    if (power.load() == 0) return;  // a complete circuit without power does nothing
    running.store(1);
    ops::startReversing(call, kBoxes, direction == Direction::Forward,
                        ops::PictureOrder::EngagedFirst);
}

void ForwardReverse::stop(const HandlerCall& call) {
    // The running flag only says that the last start succeeded; stopping leaves it set, so a
    // second press shows the stop again.
    if (running.load() == 0) return;
    ops::stopReversing(call, kBoxes, ops::PictureOrder::EngagedFirst);
}

void ForwardReverse::togglePower(const HandlerCall& call) {
    ops::toggleAnnouncedPower(call, power, switchBox, promptLabel, motorBox);
}

}  // namespace wt::ex
