// Start threads of the jog window racing the GUI thread: hundreds of press/release pairs, power
// presses in between, the window closed and the program ended while threads are in flight. Run
// under TSan (-DWT_SANITIZE=thread) these must report nothing.
#include <map>

#include "fixture.h"

namespace wt::test {
namespace {

using media::Role;

constexpr int kPairs = 300;

// Effects of one side by kind: sounds by role, pictures by box only. The recording platform reads
// a picture back after the write, so under a race it may see the other side's picture.
std::map<std::string, int> count(const std::vector<Effect>& effects, bool fromGui) {
    std::map<std::string, int> out;
    for (const Effect& e : effects)
        if (e.fromGuiThread == fromGui)
            ++out[e.type == Effect::Type::Picture ? "picture " + e.control : e.describe()];
    return out;
}

class JogThreadsTest : public JogTest {
  protected:
    void SetUp() override {
        script(kJogWiring);
        pressPower();
        host.effects();
    }
};

TEST_F(JogThreadsTest, PressReleasePairsRacingTheirStartThreadsEndInAnAllowedState) {
    for (int i = 0; i < kPairs; ++i) {
        if (i % 7 == 0) host.setRemoveMode(win, true);  // the learner fiddles with the box
        press();
        if (i % 5 == 0) std::this_thread::yield();
        release();
        if (i % 11 == 0) script("a1 remove b1");  // locked: the power is on
        host.setRemoveMode(win, false);
    }
    host.ui->shutdown();  // joins every start thread
    const std::vector<Effect> effects = host.effects();

    // Every start thread ran its whole start; every release its whole stop.
    const std::map<std::string, int> each{
        {"picture 图片框2", kPairs},
        {"picture 图片框5", kPairs},
    };
    std::map<std::string, int> started = each, stopped = each;
    started[sound(Role::StartSound1).describe()] = kPairs;
    started[sound(Role::StartSound2).describe()] = kPairs;
    stopped[sound(Role::StopSound1).describe()] = kPairs;
    stopped[sound(Role::StopSound2).describe()] = kPairs;
    EXPECT_EQ(count(effects, false), started);
    EXPECT_EQ(count(effects, true), stopped);

    // No order is set between the two sides, so each control holds what one of them wrote last.
    EXPECT_TRUE(host.visible(win, "标签1"));
    EXPECT_TRUE((Names{"电机启动中", "电机停止"}).count(host.caption(win, "标签1")));
    const std::int32_t colour = color("标签1");
    EXPECT_TRUE(colour == ops::kGreen || colour == ops::kRed) << colour;
    const Role contactor = host.picture(win, "图片框2");
    EXPECT_TRUE(contactor == Role::ContactorPulledIn || contactor == Role::ContactorReleased);
    const Role motor = host.picture(win, "图片框5");
    EXPECT_TRUE(motor == Role::MotorForward || motor == Role::MotorAtRest);
    EXPECT_EQ(jog.power.load(), 1);
    EXPECT_EQ(jog.statusShown.load(), 1);
    EXPECT_EQ(shown(), allLabels());
    EXPECT_EQ(marked(), allTerminals());

    // With every thread done, one more release leaves the motor stopped for certain.
    release();
    EXPECT_EQ(host.caption(win, "标签1"), "电机停止");
    EXPECT_EQ(color("标签1"), ops::kRed);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorReleased);
    EXPECT_EQ(host.picture(win, "图片框5"), Role::MotorAtRest);
    EXPECT_FALSE(host.checked(win, "选择框"));
}

TEST_F(JogThreadsTest, PowerPressesBetweenPairsRaceTheStartThreads) {
    for (int i = 0; i < kPairs; ++i) {
        press();
        pressPower();
        release();
        pressPower();
    }
    host.ui->shutdown();
    EXPECT_EQ(jog.power.load(), 1);  // an even number of power presses
    const Names allowed{"电机启动中", "电机停止", "请合上电源", "通电源了", "已断电"};
    EXPECT_TRUE(allowed.count(host.caption(win, "标签1"))) << host.caption(win, "标签1");
    std::map<std::string, int> messages;
    for (const Effect& e : host.effects())
        if (e.type == Effect::Type::Message) ++messages[e.text];
    EXPECT_TRUE(messages.empty());  // the wiring never changed under the threads
}

TEST_F(JogThreadsTest, ClosingTheWindowWhileThreadsWaitInTheirBoxes) {
    jog.wiring.setFlag("a1", 0);
    host.platform.holdWorkerMessages(true);
    constexpr int kWaiting = 20;
    for (int i = 0; i < kWaiting; ++i) press();
    ASSERT_TRUE(eventually([&] { return host.platform.pendingWorkerMessages() == kWaiting; }));
    // The GUI thread is not blocked by those boxes: the release runs at once.
    release();
    EXPECT_EQ(host.caption(win, "标签1"), "电机停止");
    host.close(win);
    host.ui->shutdown();  // the boxes return; every thread ends
    EXPECT_EQ(host.platform.pendingWorkerMessages(), 0);
    int messages = 0;
    for (const Effect& e : host.effects()) messages += e.type == Effect::Type::Message ? 1 : 0;
    EXPECT_EQ(messages, kWaiting);
}

TEST_F(JogThreadsTest, ThreadsOfAClosedWindowDoNotTouchItsNextOpening) {
    for (int i = 0; i < kPairs; ++i) press();
    host.close(win);
    win = host.open(forms::JogExercise);
    host.ui->shutdown();
    // Whatever the old threads still wrote went to the closed window.
    // The label says only what the new window's opening put there: the kept power.
    EXPECT_EQ(host.caption(win, "标签1"), "通电源了");
    EXPECT_EQ(host.picture(win, "图片框2"), Role::Count);
    EXPECT_EQ(host.picture(win, "图片框5"), Role::Count);
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(marked().empty());
}

TEST_F(JogThreadsTest, EndingTheProgramReleasesAThreadWaitingInItsBox) {
    jog.wiring.setFlag("sb1", 0);
    host.platform.holdWorkerMessages(true);
    press();
    ASSERT_TRUE(eventually([&] { return host.platform.pendingWorkerMessages() == 1; }));
    host.ui->shutdown();
    EXPECT_EQ(host.platform.pendingWorkerMessages(), 0);
    press();  // after the end no new thread starts
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
}

}  // namespace
}  // namespace wt::test
