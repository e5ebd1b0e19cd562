// Power switch, start and stop of the ContinuousRunExercise window: texts, colours, pictures,
// sounds and message boxes, in the order they happen.
#include "fixture.h"

namespace wt::test {
namespace {

using media::Role;

class Operation : public ContinuousRunTest {
  protected:
    // Marks every terminal without drawing a wire: the start check reads only flags.
    void markAll() {
        for (const std::string& t : allTerminals()) cr.wiring.setFlag(t, 1);
    }
    void expectStatus(const char* text, std::int32_t colour) {
        EXPECT_TRUE(host.visible(win, "标签39"));
        EXPECT_EQ(host.caption(win, "标签39"), text);
        EXPECT_EQ(color("标签39"), colour);
    }
    static std::vector<std::string> startEffects() {
        return lines({picture("图片框2", Role::ContactorPulledIn),
                      picture("图片框7", Role::MotorForward), sound(Role::StartSound2),
                      sound(Role::StartSound1)});
    }
    static std::vector<std::string> stopEffects() {
        return lines({picture("图片框2", Role::ContactorReleased),
                      picture("图片框7", Role::MotorAtRest), sound(Role::StopSound1),
                      sound(Role::StopSound2)});
    }
};

// --- Power toggle ------------------------------------------------------------------------------

TEST_F(Operation, PowerToggleBeforeAnyStartChangesOnlyTheSwitch) {
    pressPower();
    EXPECT_EQ(cr.power.load(), 1);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchClosed), sound(Role::SwitchCloseSound)}));
    EXPECT_FALSE(host.visible(win, "标签39"));
    pressPower();
    EXPECT_EQ(cr.power.load(), 0);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchOpen), sound(Role::SwitchOpenSound)}));
    EXPECT_FALSE(host.visible(win, "标签39"));
    EXPECT_EQ(host.picture(win, "图片框2"), Role::Count);
    EXPECT_EQ(host.picture(win, "图片框7"), Role::Count);
}

TEST_F(Operation, OnlyTheTransparentLabelsMouseDownTogglesThePower) {
    host.mouseDown(win, "图片框1");
    host.click(win, "图片框1");
    host.mouseUp(win, "透明标签1");
    host.click(win, "透明标签1");
    EXPECT_EQ(cr.power.load(), 0);
    EXPECT_TRUE(host.effects().empty());
}

TEST_F(Operation, PowerOffWhileRunningStopsThePicturesButNotTheRunningFlag) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    host.effects();
    pressPower();
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchOpen), sound(Role::SwitchOpenSound),
                     picture("图片框2", Role::ContactorReleased),
                     picture("图片框7", Role::MotorAtRest), sound(Role::SwitchOpenSound)}));
    expectStatus("已断电", kRed);
    EXPECT_EQ(cr.running.load(), 1);
    // The stop button still acts: the running flag is 1.
    pressStop();
    EXPECT_EQ(lines(host.effects()), stopEffects());
    expectStatus("电机已停止", kRed);
}

TEST_F(Operation, PowerOnAfterAStartAttemptReleasesTheContactorAndSaysSo) {
    clicks(kFullWiring);
    pressStart();  // power off: "请合上电源"
    host.effects();
    pressPower();
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchClosed), sound(Role::SwitchCloseSound),
                     picture("图片框2", Role::ContactorReleased)}));
    expectStatus("通电源了", kGreen);
    EXPECT_EQ(cr.running.load(), 0);
}

TEST_F(Operation, PowerToggleLeavesTheMotorToTheStartButton) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    pressPower();
    pressPower();
    host.effects();
    EXPECT_EQ(host.picture(win, "图片框7"), Role::MotorAtRest);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorReleased);
    pressStart();
    EXPECT_EQ(lines(host.effects()), startEffects());
}

// --- Start -------------------------------------------------------------------------------------

TEST_F(Operation, StartWithWiringCompleteAndPowerOn) {
    clicks(kFullWiring);
    pressPower();
    host.effects();
    pressStart();
    EXPECT_EQ(lines(host.effects()), startEffects());
    expectStatus("电机启动中", kGreen);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorPulledIn);
    EXPECT_EQ(host.picture(win, "图片框7"), Role::MotorForward);
    EXPECT_EQ(cr.running.load(), 1);
    EXPECT_EQ(cr.statusShown.load(), 1);
}

TEST_F(Operation, SecondStartWhileRunningAssignsTheAnimationAndSoundsAgain) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    host.effects();
    pressStart();
    EXPECT_EQ(lines(host.effects()), startEffects());
}

TEST_F(Operation, StartInRemoveModeUnticksTheBoxAndStarts) {
    clicks(kFullWiring);
    pressPower();
    host.setRemoveMode(win, true);
    host.effects();
    pressStart();
    EXPECT_FALSE(host.checked(win, "选择框"));
    EXPECT_EQ(lines(host.effects()), startEffects());
}

TEST_F(Operation, StartWithPowerOffAsksForThePowerSwitch) {
    clicks(kFullWiring);
    cr.running.store(1);
    pressStart();
    EXPECT_TRUE(host.effects().empty());
    expectStatus("请合上电源", kRed);
    EXPECT_EQ(cr.running.load(), 0);
    EXPECT_EQ(cr.statusShown.load(), 1);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::Count);
    EXPECT_EQ(host.picture(win, "图片框7"), Role::Count);
}

TEST_F(Operation, StartReadsFlagsNotWires) {
    markAll();
    pressPower();
    host.effects();
    pressStart();
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(lines(host.effects()), startEffects());
}

TEST_F(Operation, StartWithEveryCheckedFlagSetButC3Starts) {
    markAll();
    cr.wiring.setFlag("c3", 0);
    pressPower();
    host.effects();
    pressStart();
    EXPECT_EQ(lines(host.effects()), startEffects());
}

// One unmarked terminal of the 28 that the start button tests: one message, nothing else.
class MissingFlag : public Operation, public ::testing::WithParamInterface<std::string_view> {};

TEST_P(MissingFlag, RefusesWithOneMessage) {
    markAll();
    cr.wiring.setFlag(GetParam(), 0);
    pressPower();
    host.setRemoveMode(win, true);
    cr.running.store(1);
    host.effects();
    pressStart();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_EQ(host.platform.titles().back(), "信息：");
    EXPECT_EQ(cr.running.load(), 0);
    EXPECT_EQ(cr.statusShown.load(), 0);
    EXPECT_FALSE(host.checked(win, "选择框"));
    EXPECT_FALSE(host.visible(win, "标签39"));
}

// Every terminal but c3 (covered by d3, which can only be marked after c3).
INSTANTIATE_TEST_SUITE_P(ContinuousRun, MissingFlag,
                         ::testing::Values("a1", "a2", "a3", "a4", "b1", "b2", "b3", "b4", "c1",
                                           "c2", "c4", "d1", "d2", "d3", "e1", "e2", "e3", "e5",
                                           "e6", "f1", "f2", "m1", "w1", "w2", "sb1", "sb2", "sb3",
                                           "sb4"));

TEST_F(Operation, WiringCompleteButE1UnmarkedRefusesEvenWithPowerOff) {
    clicks(kFullWiring);
    host.setRemoveMode(win, true);
    host.click(win, "e1");
    host.setRemoveMode(win, false);
    ASSERT_EQ(cr.wiring.flag("e1"), 0);
    host.effects();
    pressStart();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_FALSE(host.visible(win, "标签39"));
}

// --- Stop --------------------------------------------------------------------------------------

TEST_F(Operation, StopBeforeAnySuccessfulStartDoesNothing) {
    pressStop();
    clicks(kFullWiring);
    pressStart();  // power off: refused, running stays 0
    host.effects();
    pressStop();
    EXPECT_TRUE(host.effects().empty());
    EXPECT_EQ(host.caption(win, "标签39"), "请合上电源");
}

TEST_F(Operation, StopAfterAStartRepeatsOnEveryPress) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    host.effects();
    pressStop();
    EXPECT_EQ(lines(host.effects()), stopEffects());
    expectStatus("电机已停止", kRed);
    EXPECT_EQ(cr.running.load(), 1);
    pressStop();
    EXPECT_EQ(lines(host.effects()), stopEffects());
}

TEST_F(Operation, FailedStartDisarmsTheStopButton) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    pressPower();
    host.setRemoveMode(win, true);
    host.click(win, "a1");
    pressPower();
    pressStart();  // refused
    host.effects();
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

// --- Flags that outlive the window ------------------------------------------------------------

TEST_F(Operation, AfterReopeningThePowerSwitchWritesTheHiddenLabel) {
    clicks(kFullWiring);
    pressStart();  // status-shown set, power off
    reopen();
    ASSERT_FALSE(host.visible(win, "标签39"));
    host.effects();

    pressPower();
    EXPECT_FALSE(host.visible(win, "标签39"));
    EXPECT_EQ(host.caption(win, "标签39"), "通电源了");
    EXPECT_EQ(color("标签39"), kGreen);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchClosed), sound(Role::SwitchCloseSound),
                     picture("图片框2", Role::ContactorReleased)}));

    pressPower();
    expectStatus("已断电", kRed);
}

TEST_F(Operation, ClosingWithThePowerOnLeavesItOnForTheNextOpening) {
    pressPower();
    host.effects();
    reopen();
    // The switch is drawn as the kept power flag says, silently; no start was tried, so the
    // status label stays hidden.
    EXPECT_EQ(lines(host.effects()), lines({picture("图片框1", Role::SwitchClosed)}));
    EXPECT_FALSE(host.visible(win, "标签39"));
    pressPower();  // the closed switch opens
    EXPECT_EQ(cr.power.load(), 0);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchOpen), sound(Role::SwitchOpenSound)}));
}

TEST_F(Operation, ReopenedWhileRunningShowsThePowerOnAndTheMotorAtRest) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    host.effects();
    reopen();
    // The wiring is gone, so the motor cannot be shown running: the contactor and motor stay as
    // stored, and the label says only what is true, that the power is on.
    EXPECT_EQ(lines(host.effects()), lines({picture("图片框1", Role::SwitchClosed)}));
    expectStatus("通电源了", kGreen);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::Count);
    EXPECT_EQ(host.picture(win, "图片框7"), Role::Count);
    EXPECT_EQ(cr.running.load(), 1);
    pressStop();  // the kept running flag still arms the stop button
    EXPECT_EQ(lines(host.effects()), stopEffects());
}

}  // namespace
}  // namespace wt::test
