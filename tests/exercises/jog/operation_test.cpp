// The jog window's power switch, jog press (start thread) and release (stop on the GUI thread):
// texts, colours, pictures and sounds in order, and the flags that outlive the window.
#include "fixture.h"

namespace wt::test {
namespace {

using media::Role;

const std::vector<std::string> kStartEffects = lines({
    picture("图片框2", Role::ContactorPulledIn),
    sound(Role::StartSound1),
    picture("图片框5", Role::MotorForward),
    sound(Role::StartSound2),
});
const std::vector<std::string> kStopEffects = lines({
    picture("图片框2", Role::ContactorReleased),
    sound(Role::StopSound1),
    sound(Role::StopSound2),
    picture("图片框5", Role::MotorAtRest),
});

bool allFrom(const std::vector<Effect>& effects, bool gui) {
    for (const Effect& e : effects)
        if (e.fromGuiThread != gui) return false;
    return true;
}

class JogRunTest : public JogTest {
  protected:
    void SetUp() override {
        script(kJogWiring);
        host.effects();
    }
    // A full start: power closed, jog pressed, the start thread done.
    void run() {
        pressPower();
        pressAndWaitFor(sound(Role::StartSound2));
        host.effects();
    }
};

TEST_F(JogTest, PowerBeforeAnyStartOnlySwitchesAndSounds) {
    pressPower();
    EXPECT_EQ(jog.power.load(), 1);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchClosed), sound(Role::SwitchCloseSound)}));
    EXPECT_FALSE(host.visible(win, "标签1"));
    pressPower();
    EXPECT_EQ(jog.power.load(), 0);
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框1", Role::SwitchOpen), sound(Role::SwitchOpenSound)}));
    EXPECT_FALSE(host.visible(win, "标签1"));
    EXPECT_EQ(jog.statusShown.load(), 0);
}

TEST_F(JogRunTest, PressStartsTheMotorOnItsOwnThreadAndReleaseStopsIt) {
    pressPower();
    host.effects();
    pressAndWaitFor(sound(Role::StartSound2));
    std::vector<Effect> started = host.effects();
    EXPECT_EQ(lines(started), kStartEffects);
    EXPECT_TRUE(allFrom(started, false)) << "the start sequence ran on the GUI thread";
    EXPECT_TRUE(host.visible(win, "标签1"));
    EXPECT_EQ(host.caption(win, "标签1"), "电机启动中");
    EXPECT_EQ(color("标签1"), ops::kGreen);
    EXPECT_EQ(host.picture(win, "图片框5"), Role::MotorForward);
    EXPECT_EQ(jog.statusShown.load(), 1);

    release();
    std::vector<Effect> stopped = host.effects();
    EXPECT_EQ(lines(stopped), kStopEffects);
    EXPECT_TRUE(allFrom(stopped, true));
    EXPECT_EQ(host.caption(win, "标签1"), "电机停止");
    EXPECT_EQ(color("标签1"), ops::kRed);
    EXPECT_EQ(host.picture(win, "图片框2"), Role::ContactorReleased);
    EXPECT_EQ(host.picture(win, "图片框5"), Role::MotorAtRest);
}

TEST_F(JogRunTest, PressWithThePowerOpenAsksForThePowerWithoutSound) {
    pressAndWaitFor(picture("图片框2", Role::ContactorReleased));
    EXPECT_EQ(lines(host.effects()), lines({picture("图片框2", Role::ContactorReleased)}));
    EXPECT_TRUE(host.visible(win, "标签1"));
    EXPECT_EQ(host.caption(win, "标签1"), "请合上电源");
    EXPECT_EQ(color("标签1"), ops::kRed);
    EXPECT_EQ(jog.statusShown.load(), 1);
}

TEST_F(JogRunTest, PressAgainWhileRunningRunsTheWholeStartAgain) {
    run();
    pressAndWaitFor(sound(Role::StartSound2));
    EXPECT_EQ(lines(host.effects()), kStartEffects);
}

TEST_F(JogRunTest, ReleaseRunsTheStopAlsoAfterARefusedStart) {
    jog.wiring.setFlag("a1", 0);
    pressPower();
    host.effects();
    pressAndWaitFor(message("请连线"));
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_EQ(host.platform.titles(), std::vector<std::string>{"信息："});
    EXPECT_FALSE(host.visible(win, "标签1"));  // nothing else changed
    EXPECT_EQ(jog.statusShown.load(), 0);
    release();
    EXPECT_EQ(lines(host.effects()), kStopEffects);
    EXPECT_EQ(host.caption(win, "标签1"), "电机停止");
    EXPECT_EQ(jog.statusShown.load(), 1);
}

// Each tested terminal alone unmarked refuses the start with one box; c3 is not tested.
class JogStartCheck : public JogRunTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(JogStartCheck, OneUnmarkedTerminalRefusesTheStart) {
    jog.wiring.setFlag(GetParam(), 0);
    pressPower();
    host.effects();
    pressAndWaitFor(message("请连线"));
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_FALSE(host.visible(win, "标签1"));
    EXPECT_EQ(host.picture(win, "图片框2"), Role::Count);  // as stored
}

INSTANTIATE_TEST_SUITE_P(Jog, JogStartCheck,
                         ::testing::Values("a1", "b1", "a2", "b2", "a3", "b3", "c1", "d1", "c2",
                                           "d2", "d3", "e1", "e2", "e3", "m1", "w1", "w2", "sb2",
                                           "sb1", "e5", "e4", "f2", "f1", "a4"));

TEST_F(JogRunTest, C3IsNotTestedByTheStartCheck) {
    jog.wiring.setFlag("c3", 0);
    pressPower();
    host.effects();
    pressAndWaitFor(sound(Role::StartSound2));
    EXPECT_EQ(lines(host.effects()), kStartEffects);
}

TEST_F(JogRunTest, OpeningThePowerAfterAStartStopsTheMotorPictures) {
    run();
    pressPower();
    EXPECT_EQ(lines(host.effects()), lines({
                                         picture("图片框1", Role::SwitchOpen),
                                         sound(Role::SwitchOpenSound),
                                         picture("图片框2", Role::ContactorReleased),
                                         picture("图片框5", Role::MotorAtRest),
                                         sound(Role::SwitchOpenSound),
                                     }));
    EXPECT_TRUE(host.visible(win, "标签1"));
    EXPECT_EQ(host.caption(win, "标签1"), "已断电");
    EXPECT_EQ(color("标签1"), ops::kRed);
}

TEST_F(JogRunTest, ClosingThePowerAfterAStopSaysPowerIsOn) {
    run();
    release();
    pressPower();  // open
    host.effects();
    pressPower();  // close
    EXPECT_EQ(lines(host.effects()), lines({
                                         picture("图片框1", Role::SwitchClosed),
                                         sound(Role::SwitchCloseSound),
                                         picture("图片框2", Role::ContactorReleased),
                                     }));
    EXPECT_EQ(host.caption(win, "标签1"), "通电源了");
    EXPECT_EQ(color("标签1"), ops::kGreen);
    EXPECT_EQ(host.picture(win, "图片框5"), Role::MotorAtRest);
}

TEST_F(JogRunTest, PressAndReleaseUntickTheEditBox) {
    host.setRemoveMode(win, true);
    pressAndWaitFor(picture("图片框2", Role::ContactorReleased));
    EXPECT_FALSE(host.checked(win, "选择框"));
    host.setRemoveMode(win, true);
    release();
    EXPECT_FALSE(host.checked(win, "选择框"));
    script("a1");  // a connect-mode click: a1线 stays shown
    EXPECT_TRUE(host.visible(win, "a1线"));
}

TEST_F(JogRunTest, ReopenedWindowKeepsPowerAndStatusFlagsButShowsTheStoredPictures) {
    run();
    release();
    reopen();
    EXPECT_EQ(jog.power.load(), 1);
    EXPECT_EQ(jog.statusShown.load(), 1);
    // The switch shows the kept power and, a start having been tried, the label says so.
    EXPECT_EQ(host.picture(win, "图片框1"), Role::SwitchClosed);
    EXPECT_TRUE(host.visible(win, "标签1"));
    EXPECT_EQ(host.caption(win, "标签1"), "通电源了");
    EXPECT_EQ(host.picture(win, "图片框5"), Role::Count);
    // Locked, as the closed switch shows.
    script("c1 d1");
    EXPECT_TRUE(marked().empty());
    pressPower();  // this opens the power
    EXPECT_EQ(jog.power.load(), 0);
    EXPECT_EQ(host.caption(win, "标签1"), "已断电");
    EXPECT_TRUE(host.visible(win, "标签1"));
    script("c1 d1");
    EXPECT_EQ(shown(), names("c1线"));
}

TEST_F(JogRunTest, ClosingThePowerInAReopenedWindowLeavesTheStatusLabelHidden) {
    run();
    release();
    pressPower();  // open, then leave
    reopen();
    host.effects();
    pressPower();
    EXPECT_FALSE(host.visible(win, "标签1"));
    EXPECT_EQ(host.caption(win, "标签1"), "通电源了");
    EXPECT_EQ(color("标签1"), ops::kGreen);
}

}  // namespace
}  // namespace wt::test
