// The real windows as a screen reader and a keyboard user meet them: accessible names as
// shown, terminal descriptions (and tooltips) naming component and side, Tab order along the
// diagram, the status label's text, and the continuous-run circuit wired by keys alone.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "app/startup.h"
#include "form_ids.h"
#include "qt_fixture.h"
#include "resources/embedded_forms.h"
#include "ui/focus.h"
#include "ui/qt/focus_mark.h"

namespace wt::test {
namespace {

const form::FormResource& resource() {
    static const std::optional<form::FormResource> r =
        form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount);
    return *r;
}

class Access : public ::testing::Test {
  protected:
    Access() : ui_(resource(), platform_, app::resolveHandlers(exercises_).handlers) {
        platform_.attach(ui_);
        platform_.setQuitOnLastWindow(false);
    }
    ~Access() override {
        ui_.shutdown();
        for (qt::FormWindow* w : platform_.windows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    qt::FormWindow* open(std::uint32_t id) {
        ui_.openWindow(id, nullptr, false);
        window_ = ui_.openInstance(id);
        return platform_.windowOf(window_);
    }
    static QString text(QWidget* w, QAccessible::Text t) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        return i ? i->text(t) : QString();
    }
    // The next control that Tab stops at.
    static QWidget* nextTab(QWidget* w) {
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || w->isHidden());
        return w;
    }
    static void press(QWidget* w) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::sendEvent(w, &e);
        }
        QTest::qWait(50);  // the release acts after a short grace
    }

    ex::Exercises exercises_;
    qt::QtPlatform platform_;
    Ui ui_;
    WindowRef window_;
};

TEST_F(Access, MenuButtonsAreNamedByTheirCaptions) {
    qt::FormWindow* menu = open(forms::ExerciseMenu);
    ASSERT_NE(menu, nullptr);
    const char* rows[][2] = {{"点动", "电路点动"},         {"长动", "电路长动"},
                             {"长动加点动", "长动点动"},   {"按钮1", "多地控制"},
                             {"正反转电路", "正反转电路"}, {"三重互锁", "双重互锁"}};
    QStringList tabs;
    for (const auto& [name, caption] : rows) {
        QWidget* button = menu->control(QString::fromUtf8(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(text(button, QAccessible::Name), QString::fromUtf8(caption));
        EXPECT_TRUE(text(button, QAccessible::Description).contains(QString::fromUtf8(caption)));
        tabs << QString::fromUtf8(name);
    }
    // The information labels read as text, their caption as name.
    QAccessibleInterface* info =
        QAccessible::queryAccessibleInterface(menu->control(QStringLiteral("标签2")));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->role(), QAccessible::StaticText);
    EXPECT_EQ(info->text(QAccessible::Name), QStringLiteral("联系：实训室 电工教研组"));
    // Tab goes down the column as it is drawn.
    QWidget* w = menu->control(QStringLiteral("点动"));
    for (const QString& expected : tabs) {
        EXPECT_EQ(w->objectName(), expected);
        w = nextTab(w);
    }
}

TEST_F(Access, EditWireCheckBoxIsCalledAsCaptionedInEveryWindow) {
    for (std::uint32_t id : {forms::ContinuousRunExercise, forms::JogExercise,
                             forms::ContinuousJogExercise, forms::ForwardReverseExercise,
                             forms::DoubleInterlockExercise, forms::MultiLocationExercise}) {
        qt::FormWindow* w = open(id);
        ASSERT_NE(w, nullptr);
        SCOPED_TRACE(w->model()->id());
        EXPECT_EQ(text(w->control(QStringLiteral("选择框")), QAccessible::Name),
                  QStringLiteral("修改线"));
        // Every terminal and push-button says something about itself.
        for (std::size_t i = 1; i < window_->size(); ++i) {
            QWidget* c = w->control(static_cast<int>(i));
            if (qobject_cast<QAbstractButton*>(c) == nullptr) continue;
            EXPECT_FALSE(text(c, QAccessible::Description).isEmpty())
                << c->objectName().toStdString();
        }
        // Everything that acts shows a hand.
        for (const focus::Stop& stop : focus::stops(window_->block()))
            EXPECT_EQ(w->control(stop.index)->cursor().shape(), Qt::PointingHandCursor)
                << stop.spoken;
        // A frame named by its title, which the program sets from the menu button's caption.
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(w);
        EXPECT_EQ(frame->role(), QAccessible::Window);
        w->setWindowTitle(QStringLiteral("电路长动"));
        EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("电路长动"));
        EXPECT_TRUE(w->accessibleName().isEmpty());
        w->close();
    }
}

TEST_F(Access, ContinuousRunControlsSayWhereTheySit) {
    qt::FormWindow* w = open(forms::ContinuousRunExercise);
    ASSERT_NE(w, nullptr);
    const struct {
        const char* control;
        const char* name;
        const char* description;
    } rows[] = {
        {"a1", "a1", "电源开关 QS，下端第1极"},
        {"a4", "a4", "电源开关 QS，控制回路出线，下端"},
        {"b1", "b1", "接触器 KM，主触点，上端第1极"},
        {"c3", "c3", "接触器 KM，主触点，下端第3极"},
        {"b4", "b4", "接触器 KM，辅助触点，上端"},
        {"w1", "w1", "接触器 KM，线圈，右端第1极"},
        {"w2", "w2", "接触器 KM，线圈，右端第2极"},
        {"d2", "d2", "热继电器 FR，热元件，上端第2极"},
        {"e6", "e6", "热继电器 FR，常闭触点，下端第2极"},
        {"f1", "f1", "控制熔断器 FU，上端"},
        {"sb1", "sb1", "停止 SB1，左端"},
        {"sb4", "sb4", "启动 SB2，右端"},
        {"m1", "m1", "电动机 M，下端"},
        {"按钮开", "SB2 启动", "按下启动电动机"},
        {"按钮关", "SB1 停止", "按下停止电动机"},
        {"透明标签1", "QS 电源开关", "按下合上或断开电源"},
        {"选择框", "修改线", "勾选后点击端子拆除导线"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        QWidget* c = w->control(QString::fromUtf8(row.control));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(text(c, QAccessible::Name), QString::fromUtf8(row.name));
        EXPECT_EQ(text(c, QAccessible::Description), QString::fromUtf8(row.description));
        EXPECT_EQ(c->toolTip(), QString::fromUtf8(row.description));
    }
    // Tab: the power switch first, then its outputs, the control fuse, the contactor top row.
    QStringList order;
    QWidget* c = w->control(QStringLiteral("透明标签1"));
    for (int k = 0; k < 9; ++k, c = nextTab(c)) order << c->objectName();
    EXPECT_EQ(order.join(' '), QStringLiteral("透明标签1 a1 a2 a3 a4 f1 f2 b1 b2"));
}

TEST_F(Access, StatusLabelReadsItsCurrentText) {
    qt::FormWindow* w = open(forms::ContinuousRunExercise);
    ASSERT_NE(w, nullptr);
    QWidget* label = w->control(QStringLiteral("标签39"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->role(), QAccessible::StaticText);
    ui_.setProperty(window_, gbk("标签39"), prop::Caption, gbk("电机启动中"));
    EXPECT_EQ(text(label, QAccessible::Name), QStringLiteral("电机启动中"));
    // Green and red as the program sets them, each glyph inside a dark outline: no pixel of the
    // text colour touches the white back colour, and the outline sets it off by at least 3:1.
    ui_.setProperty(window_, gbk("标签39"), prop::Visible, 1);
    for (const int colour : {65280, 255}) {
        SCOPED_TRACE(colour);
        ui_.setProperty(window_, gbk("标签39"), prop::TextColor, colour);
        const QColor ink = qt::colorFor(colour);
        const QImage img = label->grab().toImage();
        int inked = 0, bare = 0, dark = 0;
        for (int y = 1; y + 1 < img.height(); ++y)
            for (int x = 1; x + 1 < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.lightness() < 40) ++dark;
                if (c != ink) continue;
                ++inked;
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                    if (img.pixelColor(QPoint(x, y) + d).lightness() > 200) ++bare;
            }
        EXPECT_GT(inked, 20);
        EXPECT_GT(dark, inked / 4);
        EXPECT_EQ(bare, 0);
        const QColor around = static_cast<qt::TextLabel*>(label)->outline();
        std::printf("status text %d: %.2f:1 on white, %.2f:1 against its outline\n", colour,
                    qt::contrastRatio(ink, Qt::white), qt::contrastRatio(ink, around));
        EXPECT_GE(qt::contrastRatio(ink, around), 3.0);
    }
}

// The switch picture lights up while its click area has the keyboard focus; the check box's
// caption is never cut off, however small the window.
TEST_F(Access, SwitchLightsUpAndCaptionFits) {
    qt::FormWindow* w = open(forms::ContinuousRunExercise);
    ASSERT_NE(w, nullptr);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QWidget* picture = w->control(QStringLiteral("图片框1"));
    const auto corner = [&] { return picture->grab().toImage().pixelColor(1, 1); };
    w->control(QStringLiteral("a1"))->setFocus(Qt::TabFocusReason);
    const QColor plain = corner();
    w->control(QStringLiteral("透明标签1"))->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(corner(), QColor(0, 90, 200));  // the hover cue's ring
    w->control(QStringLiteral("a1"))->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(corner(), plain);

    QWidget* box = w->control(QStringLiteral("选择框"));
    for (const double share : {1.0, 0.6, 0.45, 0.3}) {
        SCOPED_TRACE(share);
        w->resize((w->storedSize() * share).expandedTo(w->minimumSize()));
        QCoreApplication::processEvents();
        // Three square glyphs: the caption's ink, right of the indicator, is about three times
        // as wide as it is high; a cut-off caption is narrower.
        const QImage img = box->grab().toImage();
        QRect ink;
        for (int y = 0; y < img.height(); ++y)
            for (int x = img.width() / 3; x < img.width(); ++x)
                if (img.pixelColor(x, y).lightness() < 120) ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.width(), 5 * ink.height() / 2) << ink.width() << "x" << ink.height();
        EXPECT_LT(ink.right(), img.width() - 1);
    }
}

// Keys alone: every wire, the power switch, the start button; the green status follows.
TEST_F(Access, ContinuousRunByKeys) {
    qt::FormWindow* w = open(forms::ContinuousRunExercise);
    ASSERT_NE(w, nullptr);
    const char* wiring =
        "a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 sb2 sb4 c4 sb4 "
        "w2 sb3 b4";
    const QStringList terminals = QString::fromUtf8(wiring).split(' ');
    for (const QString& t : terminals) {
        press(w->control(t));
        if (t == QStringLiteral("b1")) {
            // The click that completed the first wire says so.
            EXPECT_FALSE(w->control(QStringLiteral("a1线"))->isHidden());
            EXPECT_EQ(text(w->control(t), QAccessible::Description),
                      QStringLiteral("接触器 KM，主触点，上端第1极。已连接：a1线"));
        }
    }
    // Only the latest change is told.
    EXPECT_EQ(text(w->control(QStringLiteral("b1")), QAccessible::Description),
              QStringLiteral("接触器 KM，主触点，上端第1极"));
    press(w->control(QStringLiteral("透明标签1")));
    press(w->control(QStringLiteral("按钮开")));
    EXPECT_EQ(ui_.getInt(window_, gbk("标签39"), prop::TextColor), 65280);
    EXPECT_FALSE(w->control(QStringLiteral("标签39"))->isHidden());
}

// Arrow keys move the focus to focus::nearest, and they shorten the keyboard-only wiring: the
// fewest key presses (Tab, Shift+Tab, the four arrows, then Space on each terminal) from the
// control that has the focus when the window opens, counted over focus::stops/nearest.
TEST_F(Access, ArrowKeysShortenWiringByKeys) {
    qt::FormWindow* w = open(forms::ContinuousRunExercise);
    ASSERT_NE(w, nullptr);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    const std::vector<focus::Stop> stops = focus::stops(window_->block());
    const int n = static_cast<int>(stops.size());
    const auto stopNamed = [&](const QString& name) {
        return focus::stopOf(stops, window_->indexOf(gbk(name.toStdString())));
    };
    // Breadth first over the moves a key makes: Tab alone, Tab and Shift+Tab, those and arrows.
    enum Keys { kTab, kBackTab, kArrows };
    const auto presses = [&](int from, int to, Keys keys) {
        std::vector<int> dist(n, -1);
        std::vector<int> queue{from};
        dist[from] = 0;
        for (std::size_t q = 0; q < queue.size(); ++q) {
            const int at = queue[q];
            std::vector<int> next{(at + 1) % n};
            if (keys != kTab) next.push_back((at + n - 1) % n);
            if (keys == kArrows)
                for (focus::Direction d : {focus::Direction::Left, focus::Direction::Right,
                                           focus::Direction::Up, focus::Direction::Down})
                    next.push_back(focus::nearest(stops, at, d));
            for (int k : next)
                if (dist[k] < 0) {
                    dist[k] = dist[at] + 1;
                    queue.push_back(k);
                }
        }
        return dist[to];
    };
    const QStringList wiring =
        QStringLiteral(
            "a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 sb2 "
            "sb4 c4 sb4 w2 sb3 b4")
            .split(' ');
    const int start = focus::stopOf(stops, window_->indexOf(gbk("透明标签1")));
    int tabs = 0, backTabs = 0, keys = 0;
    for (int at = start, k = 0; k < wiring.size(); ++k) {
        const int to = stopNamed(wiring[k]);
        ASSERT_GE(to, 0) << wiring[k].toStdString();
        tabs += presses(at, to, kTab);
        backTabs += presses(at, to, kBackTab);
        keys += presses(at, to, kArrows);
        at = to;
    }
    std::printf(
        "continuous-run wiring by keys, moves: %d with Tab alone, %d with Tab and "
        "Shift+Tab, %d with arrows too; and %lld Space presses\n",
        tabs, backTabs, keys, static_cast<long long>(wiring.size()));
    EXPECT_LT(keys, backTabs / 2);

    // The binding does what the count assumes: from the switch, each arrow lands on nearest.
    const struct {
        int key;
        focus::Direction direction;
    } rows[] = {{Qt::Key_Down, focus::Direction::Down},
                {Qt::Key_Right, focus::Direction::Right},
                {Qt::Key_Down, focus::Direction::Down},
                {Qt::Key_Left, focus::Direction::Left},
                {Qt::Key_Up, focus::Direction::Up}};
    int at = start;
    w->control(stops[at].index)->setFocus(Qt::TabFocusReason);
    for (const auto& row : rows) {
        const int expected = focus::nearest(stops, at, row.direction);
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(row.key));
        EXPECT_EQ(QApplication::focusWidget(), w->control(stops[expected].index))
            << "from " << stops[at].spoken;
        EXPECT_TRUE(qt::keyboardFocus(*QApplication::focusWidget()));
        at = expected;
    }
}

}  // namespace
}  // namespace wt::test
