#include "exercises/double_interlock/double_interlock.h"

#include <string>
#include <vector>

#include "exercises/double_interlock/table.h"
#include "exercises/ops.h"
#include "ui/gbk.h"

namespace wt::ex {

namespace {

constexpr std::string_view kWindow = "DoubleInterlockExercise";

const std::string& promptLabel() {
    static const std::string name = gbk("标签2");
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
    static const std::string name = gbk("图片框6");
    return name;
}

// The start check tests these groups of terminals in order and names the first one with an
// unmarked terminal. A forward start names groups 1 to 9 by number; a reverse start names only
// group 9; group 10 is never named.
struct CheckGroup {
    std::vector<std::string_view> terminals;
    int forwardNumber;  // 0: the plain "请连线"
    int reverseNumber;
};
const std::vector<CheckGroup>& checkGroups() {
    static const std::vector<CheckGroup> groups = {
        {{"a1", "a2", "a3", "a4"}, 1, 0},
        {{"b1", "b2", "b3", "b4", "b5"}, 2, 0},
        {{"c1", "c2", "c3", "c4", "c5"}, 3, 0},
        {{"d1", "d2", "d3"}, 4, 0},
        {{"e1", "e2", "e3", "e4", "e5", "m1"}, 5, 0},
        {{"h1", "h2", "h3", "h4", "h5"}, 6, 0},
        {{"g1", "g2", "g3", "g4", "g5"}, 7, 0},
        {{"w1", "w2", "w3", "w4", "f1", "f2"}, 8, 0},
        {{"sb0", "sb2", "sb3", "sb4", "sb5", "sb6"}, 9, 9},
        {{"s1", "s2", "s3", "s4"}, 0, 0},
    };
    return groups;
}

const char* connectMessage(int number) {
    return number == 0 ? text::kConnectWires : text::kConnectWiresN[number];
}

}  // namespace

DoubleInterlock::DoubleInterlock() : wiring(double_interlock::table()) {}

void DoubleInterlock::registerHandlers(HandlerRegistry& registry) {
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

// sb6's latch click leaves its flag 0; before a check its flag follows the two wires that end at
// it: set when x1线 and k10线 are both drawn, cleared otherwise.
void DoubleInterlock::synchroniseFlags(const HandlerCall& call) {
    static const std::string x1 = gbk("x1线");
    static const std::string k10 = gbk("k10线");
    const bool both =
        wiring::Wiring::labelVisible(call, x1) && wiring::Wiring::labelVisible(call, k10);
    wiring.setFlag("sb6", both ? 1 : 0);
}

const char* DoubleInterlock::firstMissing(Direction direction) const {
    for (const CheckGroup& group : checkGroups())
        for (std::string_view terminal : group.terminals)
            if (wiring.flag(terminal) == 0)
                return connectMessage(direction == Direction::Forward ? group.forwardNumber
                                                                      : group.reverseNumber);
    return nullptr;
}

void DoubleInterlock::start(const HandlerCall& call, Direction direction) {
    // The edit-wire check box keeps its state here: a start in remove mode stays in remove mode.
    synchroniseFlags(call);
    if (const char* missing = firstMissing(direction)) {
        running.store(0);
        ops::message(call, missing);
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
        ops::setPicture(call, forwardContactor(), media::Role::ContactorReleased);
        ops::setPicture(call, motorBox(), media::Role::MotorReverse);
        ops::setPicture(call, reverseContactor(), media::Role::ContactorPulledIn);
    }
    ops::play(call, media::Role::StartSound1);
    ops::play(call, media::Role::StartSound2);
}

void DoubleInterlock::stop(const HandlerCall& call) {
    // The running flag only says that the last start succeeded; stopping leaves it set.
    if (running.load() == 0) return;
    ops::status(call, promptLabel(), ops::kRed, text::kMotorHasStopped);
    ops::setPicture(call, forwardContactor(), media::Role::ContactorReleased);
    ops::setPicture(call, reverseContactor(), media::Role::ContactorReleased);
    ops::setPicture(call, motorBox(), media::Role::MotorAtRest);
    ops::play(call, media::Role::StopSound1);
    ops::play(call, media::Role::StopSound2);
}

void DoubleInterlock::togglePower(const HandlerCall& call) {
    ops::toggleAnnouncedPower(call, power, switchBox(), promptLabel(), motorBox());
}

}  // namespace wt::ex
