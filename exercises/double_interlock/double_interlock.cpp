#include "exercises/double_interlock/double_interlock.h"

#include <string>
#include <vector>

#include "exercises/double_interlock/table.h"
#include "exercises/ops.h"
#include "form_names.h"

namespace wt::ex {

namespace {

namespace ctl = forms::controls::DoubleInterlockExercise;
namespace handlers = forms::handlers::DoubleInterlockExercise;

// The controls the logic drives, by their form names (GBK, as the model holds them).
constexpr std::string_view promptLabel = ctl::标签2;
constexpr std::string_view switchBox = ctl::图片框1;
constexpr std::string_view motorBox = ctl::图片框6;
constexpr ops::ReversingBoxes kBoxes{promptLabel, ctl::图片框2, ctl::图片框4, motorBox};

constexpr std::string_view kWindow = "DoubleInterlockExercise";

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

DoubleInterlock::DoubleInterlock() : wiring(doubleInterlockTable()) {}

void DoubleInterlock::registerHandlers(HandlerRegistry& registry) {
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

// sb6's latch click leaves its flag 0; before a check its flag follows the two wires that end at
// it: set when x1线 and k10线 are both drawn, cleared otherwise.
void DoubleInterlock::synchroniseFlags(const HandlerCall& call) {
    const bool both = wiring::Wiring::labelVisible(call, ctl::x1线) &&
                      wiring::Wiring::labelVisible(call, ctl::k10线);
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
    ops::startReversing(call, kBoxes, direction == Direction::Forward,
                        ops::PictureOrder::ForwardFirst);
}

void DoubleInterlock::stop(const HandlerCall& call) {
    // The running flag only says that the last start succeeded; stopping leaves it set.
    if (running.load() == 0) return;
    ops::stopReversing(call, kBoxes, ops::PictureOrder::ForwardFirst);
}

void DoubleInterlock::togglePower(const HandlerCall& call) {
    ops::toggleAnnouncedPower(call, power, switchBox, promptLabel, motorBox);
}

}  // namespace wt::ex
