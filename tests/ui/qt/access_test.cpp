// Keyboard access on the offscreen platform: keys on terminals, push-buttons, the held push-button
// and the power switch's click area reach the model as the events the mouse sends; the focus
// mark shows for keyboard focus only; a terminal click that shows a wire is told in its
// description.
#include "ui/qt/access.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTest>

#include "qt_fixture.h"

namespace wt::test {
namespace {

using form::Kind;

constexpr std::uint32_t kWindow = 0x52000007;  // no generated entries for these names

enum HandlerNo : std::uint32_t { kClick, kDown, kUp, kArea, kWire, kCount };

form::WindowBlock block() {
    form::WindowBlock b;
    b.windowId = kWindow;
    b.moduleId = 0x19000007;
    b.records.push_back(record(0x06000007, Kind::Window, "", {0, 0, 400, 300}));

    form::ControlRecord wire = record(0x16000030, Kind::Label, "t1线", {10, 150, 100, 8});
    wire.barMode = 1;
    wire.stateFlags = 0;  // hidden until t1 is clicked
    b.records.push_back(wire);

    const auto button = [&](std::uint32_t id, const char* name, form::Geometry g,
                            std::vector<form::EventBinding> events) {
        form::ControlRecord r = record(id, Kind::Button, name, g);
        r.picture = fileOf(media::Role::SwitchClosed);
        r.captionGbk = gbk("按钮");
        r.events = std::move(events);
        b.records.push_back(r);
    };
    button(0x1600002F, "按钮开", {200, 10, 40, 40}, {{form::kEventClicked, kClick}});
    button(0x1600002E, "sb1", {250, 10, 40, 40},
           {{form::kEventMouseDown, kDown}, {form::kEventMouseUp, kUp}});
    button(0x1600002D, "t1", {10, 100, 24, 24}, {{form::kEventClicked, kWire}});

    b.records.push_back(record(0x1600002C, Kind::CheckBox, "选择框", {10, 200, 100, 20}));
    form::ControlRecord area =
        record(0x1600002B, Kind::TransparentLabel, "透明标签1", {300, 100, 50, 50});
    area.events = {{form::kEventMouseDown, kArea}};
    b.records.push_back(area);
    return b;
}

class KeyAccess : public ::testing::Test {
  protected:
    KeyAccess() : harness_({block()}, handlers()) {
        win_ = harness_.open(kWindow);
        form_ = harness_.window(win_);
        form_->show();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_));
        log_.take();
    }
    std::vector<Handler> handlers() {
        std::vector<Handler> h(kCount);
        h[kClick] = log_.handler("click");
        h[kDown] = log_.handler("down");
        h[kUp] = log_.handler("up");
        h[kArea] = log_.handler("area");
        h[kWire] = [this](const HandlerCall& call) {
            const bool shown = call.ui.getInt(call.window, gbk("t1线"), prop::Visible) == 1;
            call.ui.setProperty(call.window, gbk("t1线"), prop::Visible, shown ? 0 : 1);
            log_.handler("wire")(call);
        };
        return h;
    }
    QWidget* widget(const char* name) { return harness_.widget(win_, name); }
    static void key(QWidget* w, QEvent::Type type, int key, bool repeat = false,
                    Qt::KeyboardModifiers mods = Qt::NoModifier, quint64 time = 0) {
        QKeyEvent e(type, key, mods, key == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                    repeat);
        e.setTimestamp(time);
        QApplication::sendEvent(w, &e);
    }
    // A key's release acts after a short grace (a repeat's press may still follow).
    static void settle() { QTest::qWait(80); }

    CallLog log_;
    Harness harness_;
    WindowRef win_;
    qt::FormWindow* form_ = nullptr;
};

TEST_F(KeyAccess, KeysSendTheEventsOfTheMouse) {
    constexpr auto P = QEvent::KeyPress;
    constexpr auto R = QEvent::KeyRelease;
    struct Step {
        QEvent::Type type;
        int key;
        bool repeat;
        Qt::KeyboardModifiers mods;
        quint64 time = 0;
    };
    const struct {
        const char* control;
        std::vector<Step> steps;
        std::vector<std::string> calls;
    } rows[] = {
        {"按钮开", {{P, Qt::Key_Space, false, {}}, {R, Qt::Key_Space, false, {}}}, {"click"}},
        {"按钮开", {{P, Qt::Key_Return, false, {}}, {R, Qt::Key_Return, false, {}}}, {"click"}},
        {"按钮开",
         {{P, Qt::Key_Enter, false, Qt::KeypadModifier}, {R, Qt::Key_Enter, false, {}}},
         {"click"}},
        // The click comes with the release, not the press.
        {"按钮开", {{P, Qt::Key_Space, false, {}}}, {}},
        // Other keys and modified ones do nothing.
        {"按钮开", {{P, Qt::Key_A, false, {}}, {R, Qt::Key_A, false, {}}}, {}},
        {"按钮开",
         {{P, Qt::Key_Space, false, Qt::ShiftModifier}, {R, Qt::Key_Space, false, {}}},
         {}},
        // Held: one press, auto-repeat (release/press pairs) ignored, one release.
        {"sb1",
         {{P, Qt::Key_Space, false, {}},
          {R, Qt::Key_Space, true, {}},
          {P, Qt::Key_Space, true, {}},
          {R, Qt::Key_Space, true, {}},
          {P, Qt::Key_Space, true, {}},
          {R, Qt::Key_Space, false, {}}},
         {"down", "up"}},
        {"sb1", {{P, Qt::Key_Return, false, {}}}, {"down"}},
        // Repeats that Qt did not flag: release and press of a pair share their timestamp.
        {"sb1",
         {{P, Qt::Key_Space, false, {}, 100},
          {R, Qt::Key_Space, false, {}, 140},
          {P, Qt::Key_Space, false, {}, 140},
          {R, Qt::Key_Space, false, {}, 180},
          {P, Qt::Key_Space, false, {}, 180},
          {R, Qt::Key_Space, false, {}, 900}},
         {"down", "up"}},
        // A key held since before this control had the focus repeats into it: nothing happens.
        {"按钮开",
         {{R, Qt::Key_Return, false, {}, 1000},
          {P, Qt::Key_Return, false, {}, 1000},
          {R, Qt::Key_Return, false, {}, 1040},
          {P, Qt::Key_Return, false, {}, 1040}},
         {}},
        {"透明标签1",
         {{R, Qt::Key_Return, false, {}, 1100}, {P, Qt::Key_Return, false, {}, 1100}},
         {}},
        // The switch: a key press is the mouse going down; the release and repeats add nothing.
        {"透明标签1",
         {{P, Qt::Key_Space, false, {}},
          {P, Qt::Key_Space, true, {}},
          {R, Qt::Key_Space, false, {}}},
         {"area"}},
        {"透明标签1", {{P, Qt::Key_Return, false, {}}, {R, Qt::Key_Return, false, {}}}, {"area"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        QWidget* w = widget(row.control);
        ASSERT_NE(w, nullptr);
        for (const Step& s : row.steps) {
            key(w, s.type, s.key, s.repeat, s.mods, s.time);
            if (s.time == 0) settle();  // untimed steps: each one on its own
        }
        settle();
        EXPECT_EQ(log_.names(), row.calls);
        // Let go of anything still held, as leaving the control does.
        w->setFocus(Qt::TabFocusReason);
        widget("t1")->setFocus(Qt::TabFocusReason);
        log_.take();
    }
}

TEST_F(KeyAccess, HeldButtonLetsGoWhenTheFocusLeaves) {
    QWidget* held = widget("sb1");
    held->setFocus(Qt::TabFocusReason);
    key(held, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(static_cast<QAbstractButton*>(held)->isDown());
    widget("按钮开")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log_.names(), (std::vector<std::string>{"down", "up"}));
    EXPECT_FALSE(static_cast<QAbstractButton*>(held)->isDown());
    // The release that follows belongs to nobody.
    key(held, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(log_.names().empty());
}

TEST_F(KeyAccess, CheckBoxTogglesWithSpaceAndEnter) {
    auto* box = static_cast<QCheckBox*>(widget("选择框"));
    box->setFocus(Qt::TabFocusReason);
    const int index = win_->indexOf(gbk("选择框"));
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(win_->state(index).checked);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(win_->state(index).checked);
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_TRUE(win_->state(index).checked);
}

// Focus marks: black and yellow rings, 2 px each, over the picture; keyboard focus only.
TEST_F(KeyAccess, FocusMarkForKeyboardFocusOnly) {
    const QColor black(0, 0, 0), yellow(255, 214, 0);
    const auto marked = [&](QWidget* w) {
        const QImage img = w->grab().toImage();
        const int right = w->width() - 1, bottom = w->height() - 1;
        for (const QPoint p :
             {QPoint(0, 0), QPoint(1, 1), QPoint(right, bottom / 2), QPoint(right / 2, bottom)})
            if (img.pixelColor(p) != black) return false;
        for (const QPoint p : {QPoint(2, 2), QPoint(3, bottom - 3), QPoint(right - 2, 5)})
            if (img.pixelColor(p) != yellow) return false;
        return true;
    };
    for (const char* name : {"按钮开", "t1", "sb1", "透明标签1", "选择框"}) {
        SCOPED_TRACE(name);
        QWidget* w = widget(name);
        QWidget* other = widget(std::string(name) == "t1" ? "按钮开" : "t1");
        other->setFocus(Qt::MouseFocusReason);
        EXPECT_FALSE(marked(w));
        w->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(w->hasFocus());
        EXPECT_TRUE(marked(w));
        // A mouse press hides it though the focus stays; any key brings it back.
        const QPoint middle(w->width() / 2, w->height() / 2);
        QTest::mousePress(w, Qt::RightButton, {}, middle);
        QTest::mouseRelease(w, Qt::RightButton, {}, middle);
        EXPECT_TRUE(w->hasFocus());
        EXPECT_FALSE(marked(w));
        key(w, QEvent::KeyPress, Qt::Key_Shift);
        EXPECT_TRUE(marked(w));
        // Focus given by a mouse click shows none.
        other->setFocus(Qt::TabFocusReason);
        EXPECT_FALSE(marked(w));
        w->setFocus(Qt::MouseFocusReason);
        EXPECT_FALSE(marked(w));
    }
    EXPECT_TRUE(log_.names().empty());
}

TEST_F(KeyAccess, TerminalClickThatShowsAWireIsTold) {
    QWidget* t1 = widget("t1");
    key(t1, QEvent::KeyPress, Qt::Key_Space);
    key(t1, QEvent::KeyRelease, Qt::Key_Space);
    settle();
    EXPECT_FALSE(widget("t1线")->isHidden());
    EXPECT_EQ(t1->accessibleDescription(), QStringLiteral("已连接：t1线"));
    QTest::mouseClick(t1, Qt::LeftButton);
    EXPECT_TRUE(widget("t1线")->isHidden());
    EXPECT_EQ(t1->accessibleDescription(), QStringLiteral("已拆除：t1线"));
    // A click that changes no wire leaves the description alone; none is added to buttons.
    QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
    EXPECT_EQ(widget("按钮开")->accessibleDescription(), QString());
    EXPECT_EQ(t1->accessibleDescription(), QStringLiteral("已拆除：t1线"));
}

TEST(Announcement, ListsWhatWasConnectedAndRemoved) {
    const struct {
        QStringList connected, removed;
        const char* text;
    } rows[] = {
        {{"a1线"}, {}, "已连接：a1线"},
        {{"a1线", "b1线"}, {}, "已连接：a1线、b1线"},
        {{}, {"c1线"}, "已拆除：c1线"},
        {{"a1线"}, {"c1线", "c2线"}, "已连接：a1线；已拆除：c1线、c2线"},
        {{}, {}, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(qt::access::announcement(row.connected, row.removed),
                  QString::fromUtf8(row.text));
}

}  // namespace
}  // namespace wt::test
