#include "exercises/forward_reverse/forward_reverse.h"

#include <string>

#include "exercises/forward_reverse/table.h"
#include "exercises/ops.h"
#include "ui/gbk.h"

namespace wt::ex {

namespace {

constexpr std::string_view kWindow = "ForwardReverseExercise";

const std::string& promptLabel() {
    static const std::string name = gbk("标签3");
    return name;
}
const std::string& switchBox() {
    static const std::string name = gbk("图片框1");
    return name;
}
const std::string& forwardContactor() {
    static const std::string name = gbk("图片框2");
    return name;
}
const std::string& reverseContactor() {
    static const std::string name = gbk("图片框4");
    return name;
}
const std::string& motorBox() {
    static const std::string name = gbk("图片框5");
    return name;
}

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

ForwardReverse::ForwardReverse() : wiring(forward_reverse::table()) {}

void ForwardReverse::registerHandlers(HandlerRegistry& registry) {
    wiring.registerHandlers(registry, kWindow, power);
    const std::string prefix(kWindow);
    registry.add(prefix + ".透明标签1.mouseDown",
                 [this](const HandlerCall& call) { togglePower(call); });
    registry.add(prefix + ".按钮1.clicked", [this](const HandlerCall& call) { stop(call); });
    registry.add(prefix + ".按钮2.clicked",
                 [this](const HandlerCall& call) { start(call, Direction::Forward); });
    registry.add(prefix + ".按钮3.clicked",
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
    // A start in either direction takes over at once, even while the other one runs.
    if (direction == Direction::Forward) {
        ops::status(call, promptLabel(), ops::kGreen, text::kMotorForward);
        ops::setPicture(call, forwardContactor(), media::Role::ContactorPulledIn);
        ops::setPicture(call, motorBox(), media::Role::MotorForward);
        ops::setPicture(call, reverseContactor(), media::Role::ContactorReleased);
    } else {
        ops::status(call, promptLabel(), ops::kGreen, text::kMotorReverse);
        ops::setPicture(call, reverseContactor(), media::Role::ContactorPulledIn);
        ops::setPicture(call, motorBox(), media::Role::MotorReverse);
        ops::setPicture(call, forwardContactor(), media::Role::ContactorReleased);
    }
    ops::play(call, media::Role::StartSound1);
    ops::play(call, media::Role::StartSound2);
}

void ForwardReverse::stop(const HandlerCall& call) {
    // The running flag only says that the last start succeeded; stopping leaves it set, so a
    // second press shows the stop again.
    if (running.load() == 0) return;
    ops::status(call, promptLabel(), ops::kRed, text::kMotorHasStopped);
    ops::setPicture(call, forwardContactor(), media::Role::ContactorReleased);
    ops::setPicture(call, motorBox(), media::Role::MotorAtRest);
    ops::setPicture(call, reverseContactor(), media::Role::ContactorReleased);
    ops::play(call, media::Role::StopSound1);
    ops::play(call, media::Role::StopSound2);
}

void ForwardReverse::togglePower(const HandlerCall& call) {
    ops::toggleAnnouncedPower(call, power, switchBox(), promptLabel(), motorBox());
}

}  // namespace wt::ex
