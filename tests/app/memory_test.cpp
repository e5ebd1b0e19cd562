// Resident memory over many openings: each exercise window is opened from the menu button (dialog
// mode, as the learner does), used a little (every wire shown, the motor box set to the running
// animation for a few frames, a repaint) and closed, 100 times in one run. After the first
// opening the pictures are decoded and scaled once and kept; the later openings must not add to
// the resident memory by more than 5%. The test pins glibc's mmap threshold: left to slide, it
// makes the first freed window-sized buffer (a backing store, a decoded background) stay in the
// heap for good, a one-time step of up to 4.5 MiB that says nothing about the program's own
// allocations; pinned, every such buffer is mapped and unmapped. With sanitizers the allocator
// keeps freed memory on purpose, so those builds make fewer rounds and only look for faults.
#define QTEST_QPA_MOUSE_HANDLING
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <optional>

#include "app/startup.h"
#include "form_ids.h"
#include "qt_fixture.h"
#include "resources/embedded_forms.h"
#include "ui/properties.h"

namespace wt::test {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMeasure = false;
constexpr int kOpenings = 25;
#else
constexpr bool kMeasure = true;
constexpr int kOpenings = 100;
#endif

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

const form::FormResource& resource() {
    static const std::optional<form::FormResource> r =
        form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount);
    return *r;
}

struct Row {
    const char* button;
    std::uint32_t window;
    friend void PrintTo(const Row& r, std::ostream* os) { *os << r.button; }
};

const std::array<Row, 6> kRows{Row{"长动", forms::ContinuousRunExercise},
                               Row{"点动", forms::JogExercise},
                               Row{"长动加点动", forms::ContinuousJogExercise},
                               Row{"按钮1", forms::MultiLocationExercise},
                               Row{"正反转电路", forms::ForwardReverseExercise},
                               Row{"三重互锁", forms::DoubleInterlockExercise}};

class Openings : public ::testing::TestWithParam<Row> {
  protected:
    // One program for all rows, as in a real run: the exercise flags, the pictures kept by the
    // binding and the visual style carry over from one window to the next.
    static void SetUpTestSuite() {
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        exercises_ = new ex::Exercises;
        platform_ = new qt::QtPlatform;
        ui_ = new Ui(resource(), *platform_, app::resolveHandlers(*exercises_).handlers);
        platform_->attach(*ui_);
        platform_->setQuitOnLastWindow(false);
        app::prepareOnApproach(*platform_, resource());
        ui_->openWindow(forms::ExerciseMenu, nullptr, false);
        menu_ = platform_->windowOf(ui_->openInstance(forms::ExerciseMenu));
        // The sound library is loaded once, a moment after the first exercise window is drawn:
        // loaded here, it is not counted as growth between openings.
        platform_->sound().available();
    }
    static void TearDownTestSuite() {
        ui_->shutdown();
        for (qt::FormWindow* w : platform_->windows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete ui_;
        delete platform_;
        delete exercises_;
    }

    // The pointer onto a menu button, as the learner's is when clicking it (the offscreen
    // platform's pointer moves only when told to).
    static QWidget* pointTo(const char* button) {
        QWidget* w = menu_->control(QString::fromUtf8(button));
        QCursor::setPos(w->mapToGlobal(w->rect().center()));
        QTest::mouseMove(w);
        QCoreApplication::processEvents();
        return w;
    }

    // Opens the exercise from its menu button, uses it and closes it; false when the window did
    // not open.
    bool openUseClose(const Row& row) {
        QWidget* button = pointTo(row.button);
        bool opened = false;
        QTimer::singleShot(0, [&] {
            const WindowRef window = ui_->openInstance(row.window);
            qt::FormWindow* widget = platform_->windowOf(window);
            if (!window || widget == nullptr) return;
            opened = true;
            use(window, *widget);
            widget->close();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        // The window made ahead for the next click is counted whole, not as far as it got.
        if (const qt::FormWindow* ahead = platform_->ahead()) ahead->finishPreparing();
        return opened;
    }

    // Every wire label shown, every picture box that shows the motor at rest switched to the
    // running animation, the whole window painted.
    static void use(const WindowRef& window, qt::FormWindow& widget) {
        const auto atRest = fileOf(media::Role::MotorAtRest);
        for (std::size_t i = 1; i < window->size(); ++i) {
            const form::ControlRecord& rec = window->block().records[i];
            if (rec.isWireBar()) {
                ui_->setProperty(window, rec.nameGbk, prop::Visible, std::int32_t{1});
            } else if (rec.kind == form::Kind::PictureBox &&
                       std::ranges::equal(rec.picture, atRest)) {
                ui_->setProperty(window, rec.nameGbk, prop::Picture,
                                 media::blob(media::Role::MotorForward));
            }
        }
        QCoreApplication::processEvents();
        widget.repaint();
    }

    static ex::Exercises* exercises_;
    static qt::QtPlatform* platform_;
    static Ui* ui_;
    static qt::FormWindow* menu_;
};

ex::Exercises* Openings::exercises_ = nullptr;
qt::QtPlatform* Openings::platform_ = nullptr;
Ui* Openings::ui_ = nullptr;
qt::FormWindow* Openings::menu_ = nullptr;

TEST_P(Openings, OpeningsKeepResidentMemoryWithinFivePercentOfTheFirst) {
    const Row row = GetParam();
    ASSERT_NE(menu_, nullptr);
    ASSERT_TRUE(openUseClose(row));
    const double first = residentMb();
    std::string trace;
    for (int i = 2; i <= kOpenings; ++i) {
        ASSERT_TRUE(openUseClose(row)) << "opening " << i;
        if (i % 25 == 0) {
            char figure[16];
            std::snprintf(figure, sizeof figure, " %.1f", residentMb());
            trace += figure;
        }
    }
    const double last = residentMb();
    std::printf(
        "%-24s after 1st opening %6.1f MiB, after %d: %6.1f MiB (%+.1f%%); MiB every 25 "
        "openings:%s\n",
        forms::kWindowNames[row.window - forms::ExerciseMenu], first, kOpenings, last,
        (last / first - 1) * 100, trace.c_str());
    RecordProperty("first_kib", static_cast<int>(first * 1024));
    RecordProperty("last_kib", static_cast<int>(last * 1024));
    EXPECT_EQ(platform_->windows().size(), 1u);  // only the menu is left
    if (kMeasure) {
        EXPECT_LE(last, first * 1.05);
    }
}

// What the menu holds does not grow with the number of exercise windows: with the pointer on a
// menu button it holds the menu's own pictures plus those of the window that button opens, the
// same bytes whichever buttons the pointer rested on before and whichever windows were opened and
// closed meanwhile.
class MenuHolds : public Openings {
  protected:
    static std::size_t heldWithPointerOn(const char* button) {
        pointTo(button);
        platform_->pictures().finishWarmUp();
        return platform_->pictures().heldBytes();
    }
    // The windows made ahead and not shown: at most the one the pointer's button opens.
    static std::vector<std::uint32_t> madeAhead() {
        std::vector<std::uint32_t> ids;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<qt::FormWindow*>(w); window && !window->model())
                ids.push_back(window->block().windowId);
        return ids;
    }
};

TEST_F(MenuHolds, OneWindowAheadWhateverCameBefore) {
    ASSERT_NE(menu_, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu_));
    const std::size_t menuOnly = platform_->pictures().heldBytes();
    const auto& rows = kRows;
    std::vector<std::size_t> first;
    for (const Row& row : rows) {
        first.push_back(heldWithPointerOn(row.button));
        EXPECT_GT(first.back(), menuOnly) << row.button;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(heldWithPointerOn(rows[i].button), first[i]) << rows[i].button << ", again";
        EXPECT_EQ(madeAhead(), std::vector<std::uint32_t>{rows[i].window}) << rows[i].button;
        ASSERT_TRUE(openUseClose(rows[i]));
        // Closed with the pointer still on its button: made ahead again, for the next click.
        EXPECT_EQ(madeAhead(), std::vector<std::uint32_t>{rows[i].window}) << rows[i].button;
    }
    // Every window opened and closed once: back on the first button, the same bytes as before.
    EXPECT_EQ(heldWithPointerOn(rows[0].button), first[0]) << "after every window";
    std::printf("menu alone %zu KiB; with one window ahead at most %zu KiB\n", menuOnly / 1024,
                *std::max_element(first.begin(), first.end()) / 1024);
}

// A window made ahead opens as one built at the click: the same controls at the same places,
// drawn the same.
TEST_F(MenuHolds, WindowMadeAheadOpensAsOneBuiltAtTheClick) {
    for (const Row& row : kRows) {
        QWidget* button = pointTo(row.button);
        const qt::FormWindow* ahead = platform_->ahead();
        ASSERT_NE(ahead, nullptr) << row.button;
        bool compared = false;
        QTimer::singleShot(0, [&] {
            const WindowRef window = ui_->openInstance(row.window);
            qt::FormWindow* opened = platform_->windowOf(window);
            ASSERT_NE(opened, nullptr);
            EXPECT_EQ(opened, ahead) << row.button;  // taken by the opening
            EXPECT_EQ(platform_->ahead(), nullptr);
            qt::FormWindow direct(*platform_, *ui_, window);
            direct.resize(opened->size());
            for (std::size_t i = 1; i < window->size(); ++i) {
                const QWidget* a = opened->control(static_cast<int>(i));
                const QWidget* b = direct.control(static_cast<int>(i));
                ASSERT_TRUE(a != nullptr && b != nullptr) << row.button << " control " << i;
                EXPECT_EQ(a->geometry(), b->geometry()) << row.button << " control " << i;
                EXPECT_EQ(a->isHidden(), b->isHidden()) << row.button << " control " << i;
            }
            EXPECT_EQ(opened->grab().toImage(), direct.grab().toImage()) << row.button;
            compared = true;
            opened->close();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(compared) << row.button;
    }
}

INSTANTIATE_TEST_SUITE_P(Exercises, Openings, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace wt::test
