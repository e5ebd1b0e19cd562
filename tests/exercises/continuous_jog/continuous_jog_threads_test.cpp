// Jog start threads of the continuous-and-jog window racing the GUI thread's release, start and
// stop push-buttons and the power switch; the window closed and the program ended while threads
// are in flight. Run under TSan (-DWT_SANITIZE=thread) these must report nothing.
#include "fixture.h"

namespace wt::test {
namespace {

using media::Role;

constexpr int kPairs = 300;

class ContinuousJogThreadsTest : public ContinuousJogTest {
  protected:
    void SetUp() override {
        script(kContinuousJogWiring);
        pressPower();
        host.effects();
    }
};

TEST_F(ContinuousJogThreadsTest, JogPairsRacingTheOtherButtonsEndInAnAllowedState) {
    for (int i = 0; i < kPairs; ++i) {
        press();
        if (i % 3 == 0) pressStart();
        if (i % 4 == 0) pressStop();
        release();
        if (i % 5 == 0) pressStop();
    }
    host.ui->shutdown();  // joins every start thread
    int messages = 0, startPairs = 0;
    for (const Effect& e : host.effects()) {
        messages += e.type == Effect::Type::Message ? 1 : 0;
        startPairs += e.describe() == sound(Role::StartSound2).describe() ? 1 : 0;
    }
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(startPairs, kPairs + (kPairs + 2) / 3);  // every jog thread and every start click

    EXPECT_TRUE(host.visible(win, "标签3"));
    const Names allowed{"电机启动中", "电机停止", "电机已停止"};
    EXPECT_TRUE(allowed.count(host.caption(win, "标签3"))) << host.caption(win, "标签3");
    const Role contactor = host.picture(win, "图片框3");
    EXPECT_TRUE(contactor == Role::ContactorPulledIn || contactor == Role::ContactorReleased);
    const Role motor = host.picture(win, "图片框9");
    EXPECT_TRUE(motor == Role::MotorForward || motor == Role::MotorAtRest);
    EXPECT_TRUE(cj.running.load() == 0 || cj.running.load() == 1);
    EXPECT_EQ(cj.statusShown.load(), 1);
    EXPECT_EQ(shown(), allLabels());
    EXPECT_EQ(marked(), allTerminals());

    // With every thread done, a release stops for certain and idles the stop push-button.
    release();
    EXPECT_EQ(host.caption(win, "标签3"), "电机停止");
    EXPECT_EQ(cj.running.load(), 0);
    EXPECT_EQ(host.picture(win, "图片框9"), Role::MotorAtRest);
    host.effects();
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

TEST_F(ContinuousJogThreadsTest, PowerPressesRaceTheJogThreads) {
    for (int i = 0; i < kPairs; ++i) {
        press();
        pressPower();
        release();
        pressPower();
    }
    host.ui->shutdown();
    EXPECT_EQ(cj.power.load(), 1);
    const Names allowed{"电机启动中", "电机停止", "请合上电源", "通电源了", "已断电"};
    EXPECT_TRUE(allowed.count(host.caption(win, "标签3"))) << host.caption(win, "标签3");
}

TEST_F(ContinuousJogThreadsTest, ClosingTheWindowWhileThreadsWaitInTheirBoxes) {
    host.ui->setProperty(win, gbk("sb9线"), prop::Visible, 0);  // the wire test fails
    host.platform.holdWorkerMessages(true);
    constexpr int kWaiting = 20;
    for (int i = 0; i < kWaiting; ++i) press();
    ASSERT_TRUE(eventually([&] { return host.platform.pendingWorkerMessages() == kWaiting; }));
    // The boxes block only their threads: the GUI thread's buttons still answer.
    pressStart();
    EXPECT_EQ(host.platform.pendingWorkerMessages(), kWaiting);
    release();
    EXPECT_EQ(host.caption(win, "标签3"), "电机停止");
    host.close(win);
    host.ui->shutdown();
    EXPECT_EQ(host.platform.pendingWorkerMessages(), 0);
    EXPECT_EQ(cj.running.load(), 0);
}

TEST_F(ContinuousJogThreadsTest, ThreadsOfAClosedWindowDoNotTouchItsNextOpening) {
    for (int i = 0; i < kPairs; ++i) press();
    host.close(win);
    win = host.open(forms::ContinuousJogExercise);
    host.ui->shutdown();
    // The label says only what the new window's opening put there: the kept power.
    EXPECT_EQ(host.caption(win, "标签3"), "通电源了");
    EXPECT_EQ(host.picture(win, "图片框3"), Role::Count);
    EXPECT_EQ(host.picture(win, "图片框9"), Role::Count);
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(host.tag(win, "sb4"), "");
}

}  // namespace
}  // namespace wt::test
