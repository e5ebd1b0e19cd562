// The continuous-and-jog window's power switch, start and stop push-buttons, jog press (start
// thread) and release: texts, colours, pictures and sounds in order, the running and status flags.
#include <ostream>

#include "fixture.h"

namespace wt::test {
namespace {

using media::Role;

const std::vector<std::string> kStartEffects = lines({
    picture("图片框9", Role::MotorForward),
    picture("图片框3", Role::ContactorPulledIn),
    sound(Role::StartSound1),
    sound(Role::StartSound2),
});
const std::vector<std::string> kStopButtonEffects = lines({
    picture("图片框3", Role::ContactorReleased),
    sound(Role::StopSound1),
    sound(Role::StopSound2),
    picture("图片框9", Role::MotorAtRest),
});
const std::vector<std::string> kReleaseEffects = lines({
    picture("图片框9", Role::MotorAtRest),
    picture("图片框3", Role::ContactorReleased),
    sound(Role::StopSound1),
    sound(Role::StopSound2),
});

class ContinuousJogRunTest : public ContinuousJogTest {
  protected:
    void SetUp() override {
        script(kContinuousJogWiring);
        host.effects();
    }
    void powerOn() {
        pressPower();
        host.effects();
    }
    void expectStatus(const char* text, std::int32_t colour) {
        EXPECT_TRUE(host.visible(win, "标签3"));
        EXPECT_EQ(host.caption(win, "标签3"), text);
        EXPECT_EQ(color("标签3"), colour);
    }
};

TEST_F(ContinuousJogTest, PowerBeforeAnyStartLeavesTheStatusHidden) {
    pressPower();
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框2", Role::SwitchClosed), sound(Role::SwitchCloseSound)}));
    EXPECT_FALSE(host.visible(win, "标签3"));
    pressPower();
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框2", Role::SwitchOpen), sound(Role::SwitchOpenSound)}));
    EXPECT_FALSE(host.visible(win, "标签3"));
}

TEST_F(ContinuousJogTest, StopBeforeAnyStartDoesNothing) {
    pressStop();
    EXPECT_TRUE(host.effects().empty());
    EXPECT_FALSE(host.visible(win, "标签3"));
}

TEST_F(ContinuousJogRunTest, StartRunsTheMotorAndEveryStopClickRepeatsTheStop) {
    powerOn();
    pressStart();
    EXPECT_EQ(lines(host.effects()), kStartEffects);
    expectStatus("电机启动中", ops::kGreen);
    EXPECT_EQ(cj.running.load(), 1);
    EXPECT_EQ(cj.statusShown.load(), 1);
    for (int i = 0; i < 2; ++i) {
        pressStop();
        EXPECT_EQ(lines(host.effects()), kStopButtonEffects) << "stop click " << i + 1;
        expectStatus("电机已停止", ops::kRed);
        EXPECT_EQ(cj.running.load(), 1);
    }
}

TEST_F(ContinuousJogRunTest, StartWithThePowerOpenAsksForItAndTheStopStaysIdle) {
    pressStart();
    EXPECT_TRUE(host.effects().empty());
    expectStatus("请合上电源", ops::kRed);
    EXPECT_EQ(cj.running.load(), 0);
    EXPECT_EQ(cj.statusShown.load(), 1);
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

TEST_F(ContinuousJogRunTest, StartAndJogUntickTheEditBox) {
    host.setRemoveMode(win, true);
    pressStart();
    EXPECT_FALSE(host.checked(win, "选择框"));
    host.setRemoveMode(win, true);
    release();
    EXPECT_FALSE(host.checked(win, "选择框"));
    host.setRemoveMode(win, true);
    pressAndWaitForCaption("请合上电源");  // the release wrote "电机停止" before
    EXPECT_FALSE(host.checked(win, "选择框"));
}

TEST_F(ContinuousJogRunTest, JogPressRunsOnItsOwnThreadAndTheReleaseStops) {
    powerOn();
    pressAndWaitFor(sound(Role::StartSound2));
    const std::vector<Effect> started = host.effects();
    EXPECT_EQ(lines(started), kStartEffects);
    for (const Effect& e : started) EXPECT_FALSE(e.fromGuiThread) << e.describe();
    expectStatus("电机启动中", ops::kGreen);
    EXPECT_EQ(cj.running.load(), 1);
    release();
    EXPECT_EQ(lines(host.effects()), kReleaseEffects);
    expectStatus("电机停止", ops::kRed);
    EXPECT_EQ(cj.running.load(), 0);
}

TEST_F(ContinuousJogRunTest, JogReleaseStopsAContinuousRunAndIdlesTheStopButton) {
    powerOn();
    pressStart();
    host.effects();
    release();
    EXPECT_EQ(lines(host.effects()), kReleaseEffects);
    expectStatus("电机停止", ops::kRed);
    EXPECT_EQ(cj.running.load(), 0);
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

TEST_F(ContinuousJogRunTest, JogReleaseRunsAlsoAfterARefusedPress) {
    cj.wiring.setFlag("a1", 0);
    powerOn();
    pressAndWaitFor(message("请连线"));
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_FALSE(host.visible(win, "标签3"));
    EXPECT_EQ(cj.statusShown.load(), 0);
    release();
    EXPECT_EQ(lines(host.effects()), kReleaseEffects);
    expectStatus("电机停止", ops::kRed);
    EXPECT_EQ(cj.statusShown.load(), 1);
}

TEST_F(ContinuousJogRunTest, OpeningThePowerWhileRunningKeepsTheContactorAndTheStop) {
    powerOn();
    pressStart();
    host.effects();
    pressPower();
    EXPECT_EQ(lines(host.effects()), lines({
                                         picture("图片框2", Role::SwitchOpen),
                                         sound(Role::SwitchOpenSound),
                                         picture("图片框9", Role::MotorAtRest),
                                         sound(Role::SwitchOpenSound),
                                     }));
    expectStatus("已断电", ops::kRed);
    EXPECT_EQ(host.picture(win, "图片框3"), Role::ContactorPulledIn);
    EXPECT_EQ(cj.running.load(), 1);
    pressStop();
    EXPECT_EQ(lines(host.effects()), kStopButtonEffects);
}

TEST_F(ContinuousJogRunTest, ClosingThePowerAgainSaysPowerIsOnWithoutPictures) {
    powerOn();
    pressStart();
    pressPower();
    host.effects();
    pressPower();
    EXPECT_EQ(lines(host.effects()),
              lines({picture("图片框2", Role::SwitchClosed), sound(Role::SwitchCloseSound)}));
    expectStatus("通电源了", ops::kGreen);
}

// A refused start, whatever the button: one "请连线" box, the running flag cleared, so that a stop
// click afterwards does nothing.
struct CheckRow {
    const char* name;
    bool jog;
    const char* unmarked;  // a terminal, or a wire label to hide
    bool refused;
};

void PrintTo(const CheckRow& r, std::ostream* os) {
    *os << r.name;
}

class ContinuousJogStartCheck : public ContinuousJogRunTest,
                                public ::testing::WithParamInterface<CheckRow> {};

TEST_P(ContinuousJogStartCheck, RefusesOnlyForTestedFlagsAndWires) {
    const CheckRow& row = GetParam();
    powerOn();
    pressStart();  // running 1 before the refused attempt
    host.effects();
    const std::string_view what = row.unmarked;
    if (what.find("线") != std::string_view::npos)
        host.ui->setProperty(win, gbk(what), prop::Visible, 0);
    else
        cj.wiring.setFlag(what, 0);
    if (row.jog)
        pressAndWaitFor(row.refused ? message("请连线") : sound(Role::StartSound2));
    else
        pressStart();
    if (!row.refused) {
        EXPECT_EQ(lines(host.effects()), kStartEffects);
        EXPECT_EQ(cj.running.load(), 1);
        return;
    }
    EXPECT_EQ(lines(host.effects()), lines({message("请连线")}));
    EXPECT_EQ(cj.running.load(), 0);
    pressStop();
    EXPECT_TRUE(host.effects().empty());
}

std::vector<CheckRow> checkRows() {
    // Both checks test these terminals; the wire test stands for sb4.
    const char* const both[] = {"a1",  "b1",  "a2",  "b2", "a3",    "b3",   "c1", "d1",  "c2",
                                "d2",  "e1",  "e2",  "e3", "m1",    "w1",   "w2", "sb3", "sb2",
                                "sb1", "e5",  "f2",  "f1", "a4",    "b4",   "c4", "d3",  "sb5",
                                "sb6", "sb7", "sb8", "e4", "sb6线", "sb9线"};
    std::vector<CheckRow> rows;
    static std::vector<std::string> keep;
    keep.reserve(200);
    for (bool jog : {false, true}) {
        for (const char* t : both) {
            keep.push_back(std::string(jog ? "Jog_" : "Start_") + t);
            rows.push_back({keep.back().c_str(), jog, t, true});
        }
        keep.push_back(std::string(jog ? "Jog_" : "Start_") + "sb4");
        rows.push_back({keep.back().c_str(), jog, "sb4", false});
        // c3 is tested by the start push-button only.
        keep.push_back(std::string(jog ? "Jog_" : "Start_") + "c3");
        rows.push_back({keep.back().c_str(), jog, "c3", !jog});
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(ContinuousJog, ContinuousJogStartCheck, ::testing::ValuesIn(checkRows()),
                         [](const auto& info) {
                             std::string name;
                             for (char c : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) || c == '_'
                                             ? c
                                             : 'X';
                             return name;
                         });

TEST_F(ContinuousJogTest, Group20IsNotTestedSoItsMarkedEndsSuffice) {
    // As the full wiring, but sb7 only after sb2 has been marked through group 18.
    script(
        "a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 sb1 e4 "
        "w2 sb3 b4 c4 sb8 sb5 sb4 sb2 sb6 sb4 sb7");
    ASSERT_EQ(cj.wiring.flag("sb2"), 1);
    ASSERT_EQ(cj.wiring.flag("sb7"), 1);
    ASSERT_FALSE(host.visible(win, "s7线"));
    pressPower();
    host.effects();
    pressStart();
    EXPECT_EQ(lines(host.effects()), kStartEffects);
}

TEST_F(ContinuousJogRunTest, ReopenedWindowKeepsPowerRunningAndStatusFlags) {
    powerOn();
    pressStart();
    reopen();
    EXPECT_EQ(cj.power.load(), 1);
    EXPECT_EQ(cj.running.load(), 1);
    EXPECT_EQ(cj.statusShown.load(), 1);
    // The switch shows the kept power, the label says so; the motor stays at rest (no wires).
    EXPECT_EQ(host.picture(win, "图片框2"), Role::SwitchClosed);
    EXPECT_TRUE(host.visible(win, "标签3"));
    EXPECT_EQ(host.caption(win, "标签3"), "通电源了");
    EXPECT_EQ(host.picture(win, "图片框9"), Role::Count);
    host.effects();
    // The kept running flag still lets the stop push-button act in the new window.
    pressStop();
    EXPECT_EQ(lines(host.effects()), kStopButtonEffects);
    // The terminals stay locked until the switch is pressed, which opens the power.
    script("c1 d1");
    EXPECT_TRUE(marked().empty());
    pressPower();
    EXPECT_EQ(cj.power.load(), 0);
    script("c1 d1");
    EXPECT_EQ(shown(), names("c1线"));
}

}  // namespace
}  // namespace wt::test
