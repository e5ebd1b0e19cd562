// The real form resource with the program's handler table: every binding has its handler, the
// menu and the six exercise windows build as stored, a menu button opens its exercise in dialog
// mode, and visual style 1 arrives when the first exercise window closes, not before.
#define QTEST_QPA_MOUSE_HANDLING
#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <optional>

#include "app/identity.h"
#include "app/startup.h"
#include "form_ids.h"
#include "qt_fixture.h"
#include "resources/embedded_forms.h"

namespace wt::test {
namespace {

const form::FormResource& resource() {
    static const std::optional<form::FormResource> r =
        form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount);
    return *r;
}

TEST(HandlerTable, EveryBindingOfTheFormResourceHasItsHandler) {
    ex::Exercises exercises;
    const app::HandlerTable table = app::resolveHandlers(exercises);
    EXPECT_EQ(table.handlers.size(), forms::kHandlerCount);
    std::string missing;
    for (const std::string& name : table.missing) missing += name + "\n";
    EXPECT_TRUE(table.missing.empty()) << missing;
}

class Program : public ::testing::Test {
  protected:
    Program() : ui_(resource(), platform_, app::resolveHandlers(exercises_).handlers) {
        platform_.attach(ui_);
        platform_.setQuitOnLastWindow(false);
        platform_.setWindowTitles(app::exerciseTitles(resource()));
        QApplication::setStyle(QStringLiteral("Windows"));
    }
    ~Program() override {
        ui_.shutdown();
        for (qt::FormWindow* w : platform_.windows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    qt::FormWindow* openMenu() {
        ui_.openWindow(forms::ExerciseMenu, nullptr, false);
        qt::FormWindow* menu = platform_.windowOf(ui_.openInstance(forms::ExerciseMenu));
        if (menu != nullptr) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
        }
        return menu;
    }
    QString styleName() const { return QApplication::style()->name(); }

    ex::Exercises exercises_;
    qt::QtPlatform platform_;
    Ui ui_;
};

TEST_F(Program, MenuIsBuiltAsStored) {
    qt::FormWindow* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->geometry(), QRect(50, 50, 994, 491));
    const char* captions[][2] = {{"点动", "电路点动"},         {"长动", "电路长动"},
                                 {"长动加点动", "长动点动"},   {"按钮1", "多地控制"},
                                 {"正反转电路", "正反转电路"}, {"三重互锁", "双重互锁"}};
    for (const auto& [name, caption] : captions) {
        auto* button = qobject_cast<QPushButton*>(menu->control(QString::fromUtf8(name)));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
        EXPECT_TRUE(button->isVisible());
    }
}

struct ExerciseRow {
    const char* button;
    std::uint32_t window;
    QSize size;
    const char* title;  // the button's caption
    friend void PrintTo(const ExerciseRow& r, std::ostream* os) { *os << r.button; }
};

class MenuButton : public Program, public ::testing::WithParamInterface<ExerciseRow> {};

// Each menu button opens its exercise window in dialog mode; the style switches when it closes.
TEST_P(MenuButton, OpensItsExerciseInDialogMode) {
    const ExerciseRow row = GetParam();
    qt::FormWindow* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    bool inside = false;
    QTimer::singleShot(0, [&] {
        WindowRef open = ui_.openInstance(row.window);
        ASSERT_TRUE(open);
        qt::FormWindow* exercise = platform_.windowOf(open);
        ASSERT_NE(exercise, nullptr);
        EXPECT_EQ(exercise->geometry(), QRect(QPoint(50, 50), row.size));
        EXPECT_EQ(exercise->windowTitle(), QString::fromUtf8(row.title));
        EXPECT_TRUE(exercise->isVisible());
        EXPECT_FALSE(menu->isEnabled());
        EXPECT_EQ(styleName(), QStringLiteral("windows"));
        // Every control record has its widget.
        for (std::size_t i = 1; i < open->size(); ++i)
            EXPECT_NE(exercise->control(static_cast<int>(i)), nullptr) << i;
        // Another menu button does nothing meanwhile.
        QTest::mouseClick(menu->control(QStringLiteral("点动")), Qt::LeftButton);
        QTest::mouseClick(menu->control(QStringLiteral("长动")), Qt::LeftButton);
        EXPECT_EQ(platform_.windows().size(), 2u);
        inside = true;
        exercise->close();
    });
    QTest::mouseClick(menu->control(QString::fromUtf8(row.button)), Qt::LeftButton);
    ASSERT_TRUE(inside);
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_EQ(ui_.openInstance(row.window), nullptr);
    EXPECT_EQ(styleName(), QStringLiteral("fusion"));
    EXPECT_EQ(menu->control(QStringLiteral("长动"))->style(), QApplication::style());
}

INSTANTIATE_TEST_SUITE_P(
    Exercises, MenuButton,
    ::testing::Values(
        ExerciseRow{"长动", forms::ContinuousRunExercise, {1246, 758}, "电路长动"},
        ExerciseRow{"点动", forms::JogExercise, {1159, 839}, "电路点动"},
        ExerciseRow{"长动加点动", forms::ContinuousJogExercise, {1164, 780}, "长动点动"},
        ExerciseRow{"正反转电路", forms::ForwardReverseExercise, {1259, 800}, "正反转电路"},
        ExerciseRow{"三重互锁", forms::DoubleInterlockExercise, {1368, 778}, "双重互锁"},
        ExerciseRow{"按钮1", forms::MultiLocationExercise, {1419, 836}, "多地控制"}),
    [](const auto& info) { return std::to_string(info.index); });

// The menu carries the whole icon; the other windows its sizes up to kWindowIconLargest, which
// cost the desktop little to take at every opening.
TEST_F(Program, MenuHasNoTitleOfItsOwnAndEveryWindowTheProgramIcon) {
    QApplication::setWindowIcon(app::programIcon(app::kWindowIconLargest));
    platform_.setWindowIcons(app::windowIcons());
    qt::FormWindow* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->windowTitle().isEmpty());
    const QIcon icon = app::programIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(icon.pixmap(size).size(), QSize(size, size)) << size;
    EXPECT_EQ(icon.availableSizes().size(), 8);
    EXPECT_EQ(menu->windowIcon().availableSizes().size(), 8);
    std::optional<QList<QSize>> exerciseSizes;
    QTimer::singleShot(0, [&] {
        if (qt::FormWindow* w = platform_.windowOf(ui_.openInstance(forms::JogExercise))) {
            exerciseSizes = w->windowIcon().availableSizes();
            w->close();
        }
    });
    QTest::mouseClick(menu->control(QStringLiteral("点动")), Qt::LeftButton);
    ASSERT_TRUE(exerciseSizes.has_value());
    EXPECT_EQ(exerciseSizes->size(), 6);  // 16, 22, 24, 32, 48 and 64
    for (QSize size : *exerciseSizes) EXPECT_LE(size.width(), app::kWindowIconLargest);
    QApplication::setWindowIcon(QIcon());
}

// A window whose screen object is destroyed from outside counts as closed, whichever it is.
struct VanishRow {
    const char* what;
    bool menuVanishes;  // else the exercise window does
};

class Vanished : public Program, public ::testing::WithParamInterface<VanishRow> {};

TEST_P(Vanished, WindowCountsAsClosed) {
    const bool menuVanishes = GetParam().menuVanishes;
    QPointer<qt::FormWindow> menu = openMenu();
    ASSERT_NE(menu, nullptr);
    QPointer<qt::FormWindow> exercise;
    QTimer::singleShot(0, [&] {
        exercise = platform_.windowOf(ui_.openInstance(forms::ContinuousRunExercise));
        ASSERT_NE(exercise, nullptr);
        ASSERT_FALSE(menu->isEnabled());
        platform_.windowVanished(menuVanishes ? menu.data() : exercise.data());
        if (!menuVanishes) return;  // the nested loop must end by itself
        EXPECT_EQ(ui_.openInstance(forms::ExerciseMenu), nullptr);
        EXPECT_NE(ui_.openInstance(forms::ContinuousRunExercise), nullptr);
        exercise->close();
    });
    QTest::mouseClick(menu->control(QStringLiteral("长动")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(exercise.isNull());
    EXPECT_EQ(ui_.openInstance(forms::ContinuousRunExercise), nullptr);
    EXPECT_EQ(styleName(), QStringLiteral("fusion"));
    if (menuVanishes) {
        EXPECT_TRUE(menu.isNull());
        EXPECT_TRUE(platform_.windows().empty());
        return;
    }
    // The menu is back and opens an exercise again.
    ASSERT_FALSE(menu.isNull());
    EXPECT_TRUE(menu->isEnabled());
    bool reopened = false;
    QTimer::singleShot(0, [&] {
        WindowRef jog = ui_.openInstance(forms::JogExercise);
        reopened = jog != nullptr;
        if (reopened) platform_.windowOf(jog)->close();
    });
    QTest::mouseClick(menu->control(QStringLiteral("点动")), Qt::LeftButton);
    EXPECT_TRUE(reopened);
}

INSTANTIATE_TEST_SUITE_P(Windows, Vanished,
                         ::testing::Values(VanishRow{"exercise", false}, VanishRow{"menu", true}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(Program, SecondExerciseOfARunOpensInTheNewStyle) {
    qt::FormWindow* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    QString styleInside;
    auto closeExercise = [&](std::uint32_t id) {
        QTimer::singleShot(0, [&, id] {
            styleInside = platform_.windowOf(ui_.openInstance(id))->style()->name();
            platform_.windowOf(ui_.openInstance(id))->close();
        });
    };
    closeExercise(forms::JogExercise);
    QTest::mouseClick(menu->control(QStringLiteral("点动")), Qt::LeftButton);
    EXPECT_EQ(styleInside, QStringLiteral("windows"));
    QStyle* fusion = QApplication::style();
    closeExercise(forms::JogExercise);
    QTest::mouseClick(menu->control(QStringLiteral("点动")), Qt::LeftButton);
    EXPECT_EQ(styleInside, QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::style(), fusion);  // applied once
}

}  // namespace
}  // namespace wt::test
