// Operation of the multi-location window: the power switch, the eight-step start check with its
// messages, starts and stops from all three places, and the flags that outlive the window.
#include "tests/exercises/multi_location/fixture.h"

namespace wt::test::ml {
namespace {

using media::Role;

const std::vector<Effect> kStartEffects = {
    picture("图片框2", Role::ContactorPulledIn),
    picture("图片框6", Role::MotorForward),
    sound(Role::StartSound1),
    sound(Role::StartSound2),
};
const std::vector<Effect> kStopEffects = {
    picture("图片框2", Role::ContactorReleased),
    picture("图片框6", Role::MotorAtRest),
    sound(Role::StopSound1),
    sound(Role::StopSound2),
};
const std::vector<Effect> kPowerOnEffects = {
    picture("图片框1", Role::SwitchClosed),
    sound(Role::SwitchCloseSound),
};
const std::vector<Effect> kPowerOffEffects = {
    picture("图片框1", Role::SwitchOpen),
    sound(Role::SwitchOpenSound),
    picture("图片框6", Role::MotorAtRest),
    sound(Role::SwitchOpenSound),
};

class Operation : public MultiLocationTest {
  protected:
    void pressSwitch() { host.mouseDown(w, "透明标签1"); }
    void expectStatus(const char* text, std::int32_t color) {
        EXPECT_TRUE(host.visible(w, "标签1"));
        EXPECT_EQ(host.caption(w, "标签1"), text);
        EXPECT_EQ(textColor("标签1"), color);
    }
    // Wired, powered and running, with the effects so far taken away.
    void runMotor() {
        wireAll();
        pressSwitch();
        host.click(w, "按钮3");
        ASSERT_EQ(ml().running.load(), 1);
        host.effects();
    }
};

// --- Power switch --------------------------------------------------------------------------

TEST_F(Operation, SwitchTogglesPowerWithPicturesSoundsAndTexts) {
    EXPECT_FALSE(host.visible(w, "标签1"));
    pressSwitch();
    EXPECT_EQ(ml().power.load(), 1);
    EXPECT_EQ(host.effects(), kPowerOnEffects);
    expectStatus("通电源了", 65280);

    pressSwitch();
    EXPECT_EQ(ml().power.load(), 0);
    EXPECT_EQ(host.effects(), kPowerOffEffects);
    expectStatus("已断电", 255);
}

TEST_F(Operation, ClosingTheSwitchStartsNothing) {
    wireAll();
    pressSwitch();
    EXPECT_EQ(ml().running.load(), 0);
    EXPECT_EQ(host.picture(w, "图片框6"), Role::Count);
    EXPECT_EQ(host.picture(w, "图片框2"), Role::Count);
}

TEST_F(Operation, OpeningTheSwitchWhileRunningKeepsContactorAndRunningFlag) {
    runMotor();
    pressSwitch();
    EXPECT_EQ(host.effects(), kPowerOffEffects);
    expectStatus("已断电", 255);
    EXPECT_EQ(host.picture(w, "图片框2"), Role::ContactorPulledIn);
    EXPECT_EQ(host.picture(w, "图片框6"), Role::MotorAtRest);
    EXPECT_EQ(ml().running.load(), 1);

    host.click(w, "按钮4");
    EXPECT_EQ(host.effects(), kStopEffects);
    expectStatus("电机已停止", 255);
}

// --- Start and stop ------------------------------------------------------------------------

class StartButtons : public Operation, public ::testing::WithParamInterface<const char*> {};

TEST_P(StartButtons, StartsTheMotorWhenWiredAndPowered) {
    wireAll();
    pressSwitch();
    host.effects();
    host.setRemoveMode(w, true);
    host.click(w, GetParam());
    EXPECT_EQ(ml().running.load(), 1);
    EXPECT_EQ(host.effects(), kStartEffects);
    expectStatus("电机正转", 65280);
    EXPECT_EQ(host.picture(w, "图片框6"), Role::MotorForward);
    EXPECT_TRUE(host.checked(w, "选择框")) << "the start leaves the edit-wire box as it is";

    // A second start goes through the same steps again.
    host.click(w, GetParam());
    EXPECT_EQ(host.effects(), kStartEffects);
}

TEST_P(StartButtons, DoesNothingWithThePowerOff) {
    wireAll();
    host.click(w, GetParam());
    EXPECT_EQ(ml().running.load(), 0);
    EXPECT_TRUE(host.effects().empty());
    EXPECT_FALSE(host.visible(w, "标签1"));
}

INSTANTIATE_TEST_SUITE_P(SB4SB5SB6, StartButtons, ::testing::Values("按钮1", "按钮3", "按钮5"));

class StopButtons : public Operation, public ::testing::WithParamInterface<const char*> {};

TEST_P(StopButtons, StopsAndRepeatsWhilePressedAgain) {
    runMotor();
    host.click(w, GetParam());
    EXPECT_EQ(host.effects(), kStopEffects);
    expectStatus("电机已停止", 255);
    EXPECT_EQ(ml().running.load(), 1) << "stopping keeps the running flag";
    host.click(w, GetParam());
    EXPECT_EQ(host.effects(), kStopEffects);
}

TEST_P(StopButtons, DoNothingBeforeAnyStart) {
    wireAll();
    pressSwitch();
    host.effects();
    host.click(w, GetParam());
    EXPECT_TRUE(host.effects().empty());
    expectStatus("通电源了", 65280);
}

INSTANTIATE_TEST_SUITE_P(SB1SB2SB3, StopButtons, ::testing::Values("按钮2", "按钮4", "按钮6"));

// --- The start check -----------------------------------------------------------------------

struct StepCase {
    const char* terminal;
    const char* message;  // empty: the start still succeeds
};
void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.terminal;
}

// Each terminal cleared alone after a successful start: the step that tests it fails.
class CheckSteps : public Operation, public ::testing::WithParamInterface<StepCase> {};

TEST_P(CheckSteps, MissingFlagNamesItsStep) {
    runMotor();
    ml().wiring.setFlag(GetParam().terminal, 0);
    host.click(w, "按钮5");
    const std::string expected = GetParam().message;
    if (expected.empty()) {
        EXPECT_EQ(host.effects(), kStartEffects);
        EXPECT_EQ(ml().running.load(), 1);
        return;
    }
    EXPECT_EQ(host.effects(), std::vector<Effect>{message(expected)});
    EXPECT_EQ(host.platform.titles().back(), "信息：");
    EXPECT_EQ(ml().running.load(), 0);
    // Nothing else changes: pictures and status stay from the last start.
    EXPECT_EQ(host.picture(w, "图片框2"), Role::ContactorPulledIn);
    EXPECT_EQ(host.picture(w, "图片框6"), Role::MotorForward);
    expectStatus("电机正转", 65280);
    // A stop after a failed start does nothing.
    host.click(w, "按钮2");
    EXPECT_TRUE(host.effects().empty());
}

INSTANTIATE_TEST_SUITE_P(
    MultiLocation, CheckSteps,
    ::testing::Values(
        StepCase{"a1", "请连线1"}, StepCase{"a2", "请连线1"}, StepCase{"a3", "请连线1"},
        StepCase{"a4", "请连线1"}, StepCase{"b1", "请连线2"}, StepCase{"b2", "请连线2"},
        StepCase{"b3", "请连线2"}, StepCase{"b4", "请连线2"}, StepCase{"c1", "请连线3"},
        StepCase{"c2", "请连线3"}, StepCase{"c3", "请连线3"}, StepCase{"c4", "请连线3"},
        StepCase{"d1", "请连线4"}, StepCase{"d2", "请连线4"}, StepCase{"d3", "请连线4"},
        StepCase{"e1", "请连线5"}, StepCase{"e2", "请连线5"}, StepCase{"e3", "请连线5"},
        StepCase{"e4", "请连线5"}, StepCase{"e5", "请连线5"}, StepCase{"m1", "请连线5"},
        StepCase{"w1", "请连线8"}, StepCase{"w2", "请连线8"}, StepCase{"f1", "请连线8"},
        StepCase{"f2", "请连线8"}, StepCase{"sb1", "请连线9"}, StepCase{"sb2", "请连线9"},
        StepCase{"sb3", "请连线9"}, StepCase{"sb4", "请连线9"}, StepCase{"sb5", "请连线9"},
        StepCase{"sb6", "请连线9"}, StepCase{"s1", "请连线"}, StepCase{"s2", "请连线"},
        StepCase{"s3", "请连线"}, StepCase{"s4", "请连线"}, StepCase{"s5", "请连线"},
        // s6 is recomputed from its wires at every start.
        StepCase{"s6", ""}),
    [](const auto& info) { return std::string(info.param.terminal); });

TEST_F(Operation, FirstFailingStepWins) {
    wireAll();
    run("-sb3 -a4");  // steps 7 and 1 (and 6: f1)
    host.click(w, "按钮1");
    EXPECT_EQ(host.effects(), std::vector<Effect>{message("请连线1")});
}

TEST_F(Operation, CheckRunsWithThePowerOff) {
    run("a1 b1");
    host.click(w, "按钮3");
    EXPECT_EQ(host.effects(), std::vector<Effect>{message("请连线1")});
    EXPECT_FALSE(host.visible(w, "标签1"));
}

TEST_F(Operation, S6FollowsBothLoopWiresNotItsClickFlag) {
    // s4 before c4 and s6: group 22 never drawn, group 23 drawn with s6 left at 0.
    run("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e5 sb2 e4 sb4 sb1 sb6 sb3 "
        "w2 s1 s3 s5 b4 s4 s2 sb5 c4 s6");
    ASSERT_FALSE(host.visible(w, "x4线"));
    ASSERT_TRUE(host.visible(w, "h8线"));
    ASSERT_EQ(flag("s6"), 0);
    pressSwitch();
    host.effects();
    ml().wiring.setFlag("s6", 1);
    host.click(w, "按钮1");
    EXPECT_EQ(host.effects(), std::vector<Effect>{message("请连线")});
    EXPECT_EQ(flag("s6"), 0);
}

TEST_F(Operation, S6FailsWithoutGroup23EvenWhenMarked) {
    // c4 s4 marks s6 and draws group 22 only.
    run("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e5 sb2 e4 sb4 sb1 sb6 sb3 "
        "w2 s1 s3 s5 b4 c4 s4 s2 sb5");
    ASSERT_EQ(flag("s6"), 1);
    ASSERT_FALSE(host.visible(w, "h8线"));
    pressSwitch();
    host.effects();
    host.click(w, "按钮5");
    EXPECT_EQ(host.effects(), std::vector<Effect>{message("请连线")});
}

TEST_F(Operation, S6PassesWithBothLoopWiresAfterRuleHLeftItClear) {
    // s6 s4 draw group 22 before c4 is marked; the last s6 draws group 23 and ends at 0.
    run("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e5 sb2 e4 sb4 sb1 sb6 sb3 "
        "w2 s1 s3 s5 b4 s6 s4 s2 sb5 c4 s6");
    ASSERT_EQ(shownWires(), allWires());
    ASSERT_EQ(flag("s6"), 0);
    pressSwitch();
    host.effects();
    host.click(w, "按钮3");
    EXPECT_EQ(host.effects(), kStartEffects);
    EXPECT_EQ(flag("s6"), 1);
}

// --- State across openings -----------------------------------------------------------------

TEST_F(Operation, PowerAndRunningOutliveTheWindow) {
    runMotor();
    host.close(w);
    w = host.open(forms::MultiLocationExercise);
    // The switch shows the kept power and the label announces it; the motor stays at rest, as
    // stored, since the wiring is gone.
    EXPECT_EQ(host.picture(w, "图片框1"), Role::SwitchClosed);
    EXPECT_EQ(host.picture(w, "图片框6"), Role::Count);
    expectStatus("通电源了", 65280);
    host.effects();
    EXPECT_EQ(ml().power.load(), 1);
    EXPECT_EQ(ml().running.load(), 1);

    run("a1 b1");  // still locked
    EXPECT_TRUE(shownWires().empty());
    EXPECT_EQ(flag("a1"), 0);

    host.click(w, "按钮6");  // the running flag survived: the stop acts
    EXPECT_EQ(host.effects(), kStopEffects);

    pressSwitch();  // the first press opens the switch
    EXPECT_EQ(ml().power.load(), 0);
    EXPECT_EQ(host.effects(), kPowerOffEffects);
    expectStatus("已断电", 255);
    run("a1 b1");
    EXPECT_EQ(shownWires(), labelsOf({1}));
}

}  // namespace
}  // namespace wt::test::ml
