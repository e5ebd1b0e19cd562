// Power switch, stop, forward and reverse start of the DoubleInterlockExercise window: sb6's
// synchronisation, the ten check groups with their messages, texts, colours, pictures and
// sounds, in the order they happen.
#include "fixture.h"

namespace wt::test::di {
namespace {

using media::Role;

constexpr std::int32_t kGreen = 65280;
constexpr std::int32_t kRed = 255;

class Operation : public DoubleInterlockTest {
  protected:
    void wiredAndPowered() {
        wireAll();
        pressPower();
        host.effects();
    }
    void expectStatus(const char* text, std::int32_t colour) {
        EXPECT_TRUE(host.visible(win, "标签2"));
        EXPECT_EQ(host.caption(win, "标签2"), text);
        EXPECT_EQ(color("标签2"), colour);
    }
    static std::vector<std::string> forwardEffects() {
        return lines({picture("图片框2", Role::ContactorPulledIn),
                      picture("图片框6", Role::MotorForward),
                      picture("图片框4", Role::ContactorReleased), sound(Role::StartSound1),
                      sound(Role::StartSound2)});
    }
    static std::vector<std::string> reverseEffects() {
        return lines({picture("图片框2", Role::ContactorReleased),
                      picture("图片框6", Role::MotorReverse),
                      picture("图片框4", Role::ContactorPulledIn), sound(Role::StartSound1),
                      sound(Role::StartSound2)});
    }
    static std::vector<std::string> stopEffects() {
        return lines({picture("图片框2", Role::ContactorReleased),
                      picture("图片框4", Role::ContactorReleased),
                      picture("图片框6", Role::MotorAtRest), sound(Role::StopSound1),
                      sound(Role::StopSound2)});
    }
    void hide(std::string_view label) { host.ui->setProperty(win, gbk(label), prop::Visible, 0); }
};

// --- Power switch ------------------------------------------------------------------------------

TEST_F(Operation, PowerSwitchClosesAndOpensWithItsPicturesSoundsAndTexts) {
    pressPower();
    EXPECT_EQ(di.power.load(), 1);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchClosed), sound(Role::SwitchCloseSound)}));
    expectStatus("通电源了", kGreen);

    pressPower();
    EXPECT_EQ(di.power.load(), 0);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchOpen), sound(Role::SwitchOpenSound),
                     picture("图片框6", Role::MotorAtRest), sound(Role::SwitchOpenSound)}));
    expectStatus("已断电", kRed);
}

TEST_F(Operation, PowerOffWhileRunningLeavesContactorsAndRunningFlag) {
    wiredAndPowered();
    pressReverse();
    pressPower();
    EXPECT_EQ(di.running.load(), 1);
    EXPECT_EQ(host.picture(win, "图片框4"), Role::ContactorPulledIn);
    EXPECT_EQ(host.picture(win, "图片框6"), Role::MotorAtRest);
    expectStatus("已断电", kRed);
}

// --- Starts --------------------------------------------------------------------------------

TEST_F(Operation, ForwardStartPullsInKm1AndRunsTheMotorForward) {
    wiredAndPowered();
    pressForward();
    EXPECT_EQ(di.running.load(), 1);
    expectStatus("电机正转", kGreen);
    EXPECT_EQ(lines(host.effects()), forwardEffects());
}

TEST_F(Operation, ReverseStartPullsInKm2AndRunsTheMotorInReverse) {
    wiredAndPowered();
    pressReverse();
    EXPECT_EQ(di.running.load(), 1);
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
}

TEST_F(Operation, StartsLeaveTheCheckBoxAsItWas) {
    for (bool wired : {false, true}) {
        SCOPED_TRACE(wired ? "start succeeds" : "start refused");
        if (wired) wiredAndPowered();
        host.setRemoveMode(win, true);
        pressForward();
        EXPECT_TRUE(host.checked(win, "选择框"));
        pressReverse();
        EXPECT_TRUE(host.checked(win, "选择框"));
        host.setRemoveMode(win, false);
    }
}

TEST_F(Operation, CompleteWiringWithoutPowerDoesNothingVisible) {
    wireAll();
    for (int run = 0; run < 2; ++run) {
        di.running.store(run);
        pressForward();
        pressReverse();
        EXPECT_EQ(di.running.load(), run);
        EXPECT_TRUE(host.effects().empty());
        EXPECT_FALSE(host.visible(win, "标签2"));
    }
}

// One terminal of each check group cleared at a time: the message names the first incomplete
// group for a forward start, only group 9 for a reverse start.
TEST_F(Operation, EachCheckGroupHasItsMessage) {
    struct Row {
        const char* terminals;
        const char* forward;
        const char* reverse;
    };
    const Row rows[] = {
        {"a1 a2 a3 a4", "请连线1", "请连线"},          {"b1 b2 b3 b4 b5", "请连线2", "请连线"},
        {"c1 c2 c3 c4 c5", "请连线3", "请连线"},       {"d1 d2 d3", "请连线4", "请连线"},
        {"e1 e2 e3 e4 e5 m1", "请连线5", "请连线"},    {"h1 h2 h3 h4 h5", "请连线6", "请连线"},
        {"g1 g2 g3 g4 g5", "请连线7", "请连线"},       {"w1 w2 w3 w4 f1 f2", "请连线8", "请连线"},
        {"sb0 sb2 sb3 sb4 sb5", "请连线9", "请连线9"}, {"s1 s2 s3 s4", "请连线", "请连线"},
    };
    wiredAndPowered();
    Names covered = names("sb6");  // set from its wires before every check
    for (const Row& row : rows)
        for (const std::string& terminal : names(row.terminals)) {
            SCOPED_TRACE(terminal);
            covered.insert(terminal);
            for (bool reverse : {false, true}) {
                di.running.store(1);
                di.wiring.setFlag(terminal, 0);
                reverse ? pressReverse() : pressForward();
                EXPECT_EQ(di.running.load(), 0);
                EXPECT_EQ(lines(host.effects()),
                          lines({message(reverse ? row.reverse : row.forward)}));
                di.wiring.setFlag(terminal, 1);
            }
        }
    EXPECT_EQ(covered, allTerminals());
    EXPECT_EQ(host.platform.titles().back(), "信息：");
}

TEST_F(Operation, TheFirstIncompleteGroupIsNamed) {
    wiredAndPowered();
    di.wiring.setFlag("s4", 0);
    di.wiring.setFlag("g2", 0);
    di.wiring.setFlag("sb4", 0);
    pressForward();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线7")}));
    pressReverse();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    di.wiring.setFlag("g2", 1);
    pressReverse();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线9")}));
}

TEST_F(Operation, OnlyGroupOneWiredNamesGroupTwo) {
    pressPower();
    pressPower();  // power off again: the wiring is open
    clicks("a1 b1 a2 b2 a3 b3 a4 f1");
    pressPower();
    host.effects();
    pressForward();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线2")}));
}

TEST_F(Operation, Sb6FollowsItsTwoWiresBeforeEveryCheck) {
    wiredAndPowered();
    ASSERT_EQ(flag("sb6"), 0);  // its latch drew k5线.. and left it unmarked
    pressForward();
    EXPECT_EQ(flag("sb6"), 1);
    EXPECT_EQ(di.running.load(), 1);
    host.effects();

    for (const char* missing : {"x1线", "k10线"}) {
        SCOPED_TRACE(missing);
        host.ui->setProperty(win, gbk("x1线"), prop::Visible, 1);
        host.ui->setProperty(win, gbk("k10线"), prop::Visible, 1);
        hide(missing);
        di.wiring.setFlag("sb6", 1);
        for (bool reverse : {false, true}) {
            reverse ? pressReverse() : pressForward();
            EXPECT_EQ(flag("sb6"), 0);
            EXPECT_EQ(lines(host.effects()), lines({message("请连线9")}));
            di.wiring.setFlag("sb6", 1);
        }
    }
}

TEST_F(Operation, FailedStartAfterRunningKeepsTheOldPicturesAndStopsTheStopButton) {
    wiredAndPowered();
    pressForward();
    pressPower();
    removeAt("s4");  // group 26 also clears sb3, which group 9 checks first
    pressPower();
    host.effects();
    pressForward();
    EXPECT_EQ(di.running.load(), 0);
    EXPECT_EQ(lines(host.effects()), lines({message("请连线9")}));
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorPulledIn);
    expectStatus("通电源了", kGreen);
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

// --- Stop ----------------------------------------------------------------------------------

TEST_F(Operation, StopDoesNothingBeforeASuccessfulStart) {
    pressStop();
    EXPECT_TRUE(host.effects().empty());
    EXPECT_FALSE(host.visible(win, "标签2"));
}

TEST_F(Operation, EveryStopPressAfterAStartShowsTheStop) {
    wiredAndPowered();
    pressForward();
    host.effects();
    for (int press = 0; press < 2; ++press) {
        pressStop();
        expectStatus("电机已停止", kRed);
        EXPECT_EQ(lines(host.effects()), stopEffects());
        EXPECT_EQ(di.running.load(), 1);
    }
}

// --- Reopening -------------------------------------------------------------------------------

TEST_F(Operation, ReopenedWindowShowsTheKeptPowerOverTheStoredPictures) {
    wiredAndPowered();
    pressForward();
    reopen();
    host.effects();
    EXPECT_EQ(di.power.load(), 1);
    EXPECT_EQ(di.running.load(), 1);
    // The switch shows the kept power and the label announces it; contactors and motor stay as
    // stored, since the wiring is gone.
    EXPECT_EQ(host.picture(win, "图片框1"), Role::SwitchClosed);
    for (const char* box : {"图片框2", "图片框4", "图片框6"})
        EXPECT_EQ(host.picture(win, box), Role::Count) << box;
    EXPECT_TRUE(host.visible(win, "标签2"));
    EXPECT_EQ(host.caption(win, "标签2"), "通电源了");
    pressForward();
    EXPECT_EQ(lines(host.effects()), lines({message("请连线1")}));
    EXPECT_EQ(di.running.load(), 0);
}

}  // namespace
}  // namespace wt::test::di
