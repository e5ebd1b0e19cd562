// Power switch, stop, forward and reverse start of the ForwardReverseExercise window: the flag
// synchronisation, the start check, texts, colours, pictures, sounds and message boxes, in the
// order they happen.
#include "fixture.h"

namespace wt::test::fr {
namespace {

using media::Role;

constexpr std::int32_t kGreen = 65280;
constexpr std::int32_t kRed = 255;

class Operation : public ForwardReverseTest {
  protected:
    void wiredAndPowered() {
        wireAll();
        pressPower();
        host.effects();
    }
    void expectStatus(const char* text, std::int32_t colour) {
        EXPECT_TRUE(host.visible(win, "标签3"));
        EXPECT_EQ(host.caption(win, "标签3"), text);
        EXPECT_EQ(color("标签3"), colour);
    }
    static std::vector<std::string> forwardEffects() {
        return lines({picture("图片框2", Role::ContactorPulledIn),
                      picture("图片框5", Role::MotorForward),
                      picture("图片框4", Role::ContactorReleased), sound(Role::StartSound1),
                      sound(Role::StartSound2)});
    }
    static std::vector<std::string> reverseEffects() {
        return lines({picture("图片框4", Role::ContactorPulledIn),
                      picture("图片框5", Role::MotorReverse),
                      picture("图片框2", Role::ContactorReleased), sound(Role::StartSound1),
                      sound(Role::StartSound2)});
    }
    static std::vector<std::string> stopEffects() {
        return lines({picture("图片框2", Role::ContactorReleased),
                      picture("图片框5", Role::MotorAtRest),
                      picture("图片框4", Role::ContactorReleased), sound(Role::StopSound1),
                      sound(Role::StopSound2)});
    }
};

// --- Power switch ------------------------------------------------------------------------------

TEST_F(Operation, PowerSwitchClosesAndOpensWithItsPicturesSoundsAndTexts) {
    pressPower();
    EXPECT_EQ(fr.power.load(), 1);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchClosed), sound(Role::SwitchCloseSound)}));
    expectStatus("通电源了", kGreen);

    pressPower();
    EXPECT_EQ(fr.power.load(), 0);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchOpen), sound(Role::SwitchOpenSound),
                     picture("图片框5", Role::MotorAtRest), sound(Role::SwitchOpenSound)}));
    expectStatus("已断电", kRed);
}

TEST_F(Operation, PowerOffWhileRunningLeavesContactorsAndRunningFlag) {
    wiredAndPowered();
    pressForward();
    host.effects();
    pressPower();
    EXPECT_EQ(fr.running.load(), 1);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorPulledIn);
    EXPECT_EQ(host.picture(win, "图片框4"), Role::ContactorReleased);
    EXPECT_EQ(host.picture(win, "图片框5"), Role::MotorAtRest);
    expectStatus("已断电", kRed);
    host.effects();
    pressStop();  // the running flag is still set
    expectStatus("电机已停止", kRed);
    EXPECT_EQ(lines(host.effects()), stopEffects());
}

// --- Starts --------------------------------------------------------------------------------

TEST_F(Operation, ForwardStartPullsInKm1AndRunsTheMotorForward) {
    wiredAndPowered();
    host.setRemoveMode(win, true);
    pressForward();
    EXPECT_FALSE(host.checked(win, "选择框"));
    EXPECT_EQ(fr.running.load(), 1);
    expectStatus("电机正转", kGreen);
    EXPECT_EQ(lines(host.effects()), forwardEffects());
}

TEST_F(Operation, ReverseStartPullsInKm2AndRunsTheMotorInReverse) {
    wiredAndPowered();
    host.setRemoveMode(win, true);
    pressReverse();
    EXPECT_FALSE(host.checked(win, "选择框"));
    EXPECT_EQ(fr.running.load(), 1);
    expectStatus("电机反转", kGreen);
    EXPECT_EQ(lines(host.effects()), reverseEffects());
}

TEST_F(Operation, AStartInTheOtherDirectionSwitchesAtOnce) {
    wiredAndPowered();
    pressForward();
    host.effects();
    pressReverse();
    expectStatus("电机反转", kGreen);
    EXPECT_EQ(lines(host.effects()), reverseEffects());
    pressForward();
    expectStatus("电机正转", kGreen);
    EXPECT_EQ(lines(host.effects()), forwardEffects());
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorPulledIn);
    EXPECT_EQ(host.picture(win, "图片框4"), Role::ContactorReleased);
}

TEST_F(Operation, CompleteWiringWithoutPowerOnlyUnticksAndSynchronises) {
    wireAll();
    host.setRemoveMode(win, true);
    for (int run = 0; run < 2; ++run) {
        fr.running.store(run);  // left as it is in either state
        pressForward();
        EXPECT_FALSE(host.checked(win, "选择框"));
        EXPECT_EQ(fr.running.load(), run);
        EXPECT_EQ(flag("sb5"), 1);
        EXPECT_EQ(flag("sb6"), 1);
        EXPECT_TRUE(host.effects().empty());
        EXPECT_FALSE(host.visible(win, "标签3"));
    }
}

// Each terminal flag cleared on its own: the start check refuses the start, unless a drawn
// wire lets the synchronisation set the flag again.
TEST_F(Operation, EveryTerminalFlagIsChecked) {
    const Names restoredBySync = names("sb5 c5 g4 sb2 sb6 sb4 h4");
    wiredAndPowered();
    for (const std::string& terminal : allTerminals()) {
        SCOPED_TRACE(terminal);
        for (bool reverse : {false, true}) {
            fr.running.store(1);
            fr.wiring.setFlag(terminal, 0);
            reverse ? pressReverse() : pressForward();
            if (restoredBySync.count(terminal)) {
                EXPECT_EQ(flag(terminal), 1);
                EXPECT_EQ(fr.running.load(), 1);
                EXPECT_EQ(lines(host.effects()), reverse ? reverseEffects() : forwardEffects());
            } else {
                EXPECT_EQ(fr.running.load(), 0);
                EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
                fr.wiring.setFlag(terminal, 1);
            }
        }
    }
    EXPECT_EQ(host.platform.titles().back(), "信息：");
}

TEST_F(Operation, SynchronisationMarksBothEndsOfEachDrawnWire) {
    struct Row {
        const char* label;
        const char* first;
        const char* second;
    };
    const Row rows[] = {{"sb7线", "sb5", "c5"},
                        {"no9线", "sb5", "g4"},
                        {"sb1线", "sb2", "sb6"},
                        {"s5线", "sb2", "sb4"},
                        {"n7线", "h4", "sb6"}};
    wireAll();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        // Only the one wire is drawn: its two ends get their marks, nothing else does.
        for (const std::string& t : allTerminals()) fr.wiring.setFlag(t, 0);
        for (const std::string& l : fr.wiring.allLabels())
            host.ui->setProperty(win, l, prop::Visible, 0);
        host.ui->setProperty(win, gbk(row.label), prop::Visible, 1);
        pressForward();
        EXPECT_EQ(marked(), names(std::string(row.first) + " " + row.second));
        EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    }
}

TEST_F(Operation, SynchronisationNeverClearsAFlag) {
    wiredAndPowered();
    // Neither wire that would mark sb6 is drawn, yet the mark it already has stays.
    host.ui->setProperty(win, gbk("sb1线"), prop::Visible, 0);
    host.ui->setProperty(win, gbk("n7线"), prop::Visible, 0);
    fr.wiring.setFlag("sb6", 1);
    pressForward();
    EXPECT_EQ(flag("sb6"), 1);
    EXPECT_EQ(fr.running.load(), 1);
}

TEST_F(Operation, LatchedTerminalPassesTheCheckOnceItsWireIsDrawn) {
    wiredAndPowered();
    ASSERT_EQ(flag("sb6"), 0);  // its latch click drew n7线 and left it unmarked
    ASSERT_TRUE(host.visible(win, "n7线"));
    pressForward();
    EXPECT_EQ(flag("sb6"), 1);
    EXPECT_EQ(fr.running.load(), 1);
}

TEST_F(Operation, ReverseStartUnticksTheCheckBoxEvenWhenTheCheckFails) {
    host.setRemoveMode(win, true);
    pressReverse();
    EXPECT_FALSE(host.checked(win, "选择框"));
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_FALSE(host.visible(win, "标签3"));
}

TEST_F(Operation, FailedStartAfterRunningKeepsTheOldPicturesAndStopsTheStopButton) {
    wiredAndPowered();
    pressForward();
    pressPower();
    removeAt("a1");
    pressPower();
    host.effects();
    pressForward();
    EXPECT_EQ(fr.running.load(), 0);
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorPulledIn);
    expectStatus("通电源了", kGreen);
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

// --- Stop ----------------------------------------------------------------------------------

TEST_F(Operation, StopDoesNothingBeforeASuccessfulStart) {
    pressStop();
    EXPECT_TRUE(host.effects().empty());
    EXPECT_FALSE(host.visible(win, "标签3"));
}

TEST_F(Operation, EveryStopPressAfterAStartShowsTheStop) {
    wiredAndPowered();
    pressReverse();
    host.effects();
    for (int press = 0; press < 2; ++press) {
        pressStop();
        expectStatus("电机已停止", kRed);
        EXPECT_EQ(lines(host.effects()), stopEffects());
        EXPECT_EQ(fr.running.load(), 1);
    }
}

TEST_F(Operation, StopIgnoresThePowerFlag) {
    fr.running.store(1);  // a start succeeded in an earlier opening
    pressStop();
    EXPECT_EQ(lines(host.effects()), stopEffects());
}

// --- Reopening -------------------------------------------------------------------------------

TEST_F(Operation, ReopenedWindowShowsTheKeptPowerOverTheStoredPictures) {
    wiredAndPowered();
    pressReverse();
    reopen();
    host.effects();
    EXPECT_EQ(fr.power.load(), 1);
    EXPECT_EQ(fr.running.load(), 1);
    // The switch shows the kept power and the label announces it; contactors and motor stay as
    // stored, since the wiring is gone.
    EXPECT_EQ(host.picture(win, "图片框1"), Role::SwitchClosed);
    for (const char* box : {"图片框2", "图片框4", "图片框5"})
        EXPECT_EQ(host.picture(win, box), Role::Count) << box;
    EXPECT_TRUE(host.visible(win, "标签3"));
    EXPECT_EQ(host.caption(win, "标签3"), "通电源了");
    pressReverse();  // every terminal flag is 0 again
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_EQ(fr.running.load(), 0);
}

}  // namespace
}  // namespace wt::test::fr
