// The Qt binding on the offscreen platform: controls built from records, the learner's input as
// model events, property writes from the GUI thread and from other threads, pictures and
// animations, message boxes and dialog mode.
#define QTEST_QPA_MOUSE_HANDLING  // route test clicks through the window system (modality,
                                  // enabling)

#include <QtTest/qtestspontaneevent.h>

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <thread>

#include "qt_fixture.h"
#include "ui/qt/expose_filter.h"

namespace wt::test {
namespace {

using form::Kind;
using qt::FormWindow;
using qt::PictureBox;
using qt::TextLabel;

constexpr std::uint32_t kMain = 0x52000001;
constexpr std::uint32_t kDialog = 0x52000002;

enum HandlerNo : std::uint32_t { kClick, kDown, kUp, kArea, kOpenDialog, kCreated, kCount };

// A window with one control of each kind; the label 标签1 sits inside the picture box.
form::WindowBlock mainBlock() {
    form::WindowBlock b;
    b.windowId = kMain;
    b.moduleId = 0x19000001;
    form::ControlRecord w = record(0x06000001, Kind::Window, "", {0, 0, 400, 300});
    w.picture = fileOf(media::Role::SwitchOpen);
    w.events = {{form::kEventClicked, kCreated}};
    b.records.push_back(w);

    form::ControlRecord box = record(0x16000020, Kind::PictureBox, "图片框1", {10, 10, 160, 104});
    box.picture = fileOf(media::Role::ContactorReleased);
    box.children = {0x1600001F};
    b.records.push_back(box);
    form::ControlRecord inner =
        record(0x1600001F, Kind::Label, "标签1", {5, 6, 100, 20}, 0x16000020);
    inner.captionGbk = gbk("电机停止");
    b.records.push_back(inner);

    form::ControlRecord wire = record(0x1600001E, Kind::Label, "e1线", {10, 150, 100, 4});
    wire.barMode = 1;
    wire.barColors[0] = 0x00FFFF;  // yellow edges, green middle
    wire.barColors[1] = 0x00FF00;
    wire.barColors[2] = 0x00FFFF;
    wire.captionGbk = gbk("e1线");
    b.records.push_back(wire);

    form::ControlRecord on = record(0x1600001D, Kind::Button, "按钮开", {200, 10, 24, 24});
    on.picture = fileOf(media::Role::SwitchClosed);
    on.captionGbk = gbk("按钮");
    on.events = {{form::kEventClicked, kClick}};
    b.records.push_back(on);

    form::ControlRecord held = record(0x1600001C, Kind::Button, "sb1", {240, 10, 24, 24});
    held.picture = fileOf(media::Role::SwitchClosed);
    held.events = {{form::kEventMouseDown, kDown}, {form::kEventMouseUp, kUp}};
    b.records.push_back(held);

    form::ControlRecord check = record(0x1600001B, Kind::CheckBox, "选择框", {10, 200, 100, 20});
    check.captionGbk = gbk("修改线");
    b.records.push_back(check);

    form::ControlRecord area =
        record(0x1600001A, Kind::TransparentLabel, "透明标签1", {300, 100, 50, 50});
    area.events = {{form::kEventMouseDown, kArea}};
    b.records.push_back(area);

    form::ControlRecord open = record(0x16000019, Kind::Button, "长动", {200, 60, 96, 40});
    open.captionGbk = gbk("电路长动");
    open.font.emplace();
    open.font->height = -19;
    open.font->weight = 700;
    open.events = {{form::kEventClicked, kOpenDialog}};
    b.records.push_back(open);

    form::ControlRecord hidden = record(0x16000018, Kind::Label, "标签39", {10, 230, 200, 20});
    hidden.stateFlags = 0;
    hidden.captionGbk = gbk("请合上电源");
    hidden.textColor = 255;
    b.records.push_back(hidden);
    return b;
}

form::WindowBlock dialogBlock() {
    form::WindowBlock b;
    b.windowId = kDialog;
    b.moduleId = 0x19000002;
    b.records.push_back(record(0x06000002, Kind::Window, "", {0, 0, 300, 200}));
    b.records.push_back(record(0x16000030, Kind::Label, "标签2", {10, 10, 100, 20}));
    return b;
}

// A MediaBlob around arbitrary bytes.
struct Blob {
    std::vector<std::uint8_t> bytes;
    explicit Blob(std::span<const std::uint8_t> file, std::uint32_t marker = 1,
                  std::int64_t lengthDelta = 0) {
        const auto length = static_cast<std::uint32_t>(file.size() + lengthDelta);
        // Sized once and filled in place: an insert after resize(8) makes GCC 12 at -O3 warn
        // of a copy past the first 8 bytes (-Warray-bounds).
        bytes.resize(8 + file.size());
        std::memcpy(bytes.data(), &marker, 4);
        std::memcpy(bytes.data() + 4, &length, 4);
        if (!file.empty()) std::memcpy(bytes.data() + 8, file.data(), file.size());
    }
    MediaRef ref() const { return {bytes.data(), bytes.size()}; }
};

class BindingTest : public ::testing::Test {
  protected:
    BindingTest() : harness_({mainBlock(), dialogBlock()}, handlers()) {
        win_ = harness_.open(kMain);
        form_ = harness_.window(win_);
    }

    std::vector<Handler> handlers() {
        std::vector<Handler> h(kCount);
        h[kClick] = log_.handler("click");
        h[kDown] = log_.handler("down");
        h[kUp] = log_.handler("up");
        h[kArea] = log_.handler("area");
        h[kCreated] = log_.handler("created");
        h[kOpenDialog] = [this](const HandlerCall& call) {
            call.ui.openWindow(kDialog, nullptr, true);
            log_.handler("returned")(call);
        };
        return h;
    }

    template <class T = QWidget>
    T* widget(const char* name) {
        return harness_.widget<T>(win_, name);
    }
    void set(const char* name, int prop, Value v) {
        harness_.ui().setProperty(win_, gbk(name), prop, std::move(v));
    }
    std::int32_t get(const char* name, int prop) {
        return harness_.ui().getInt(win_, gbk(name), prop);
    }
    PictureBox* box() { return widget<PictureBox>("图片框1"); }

    CallLog log_;
    Harness harness_;
    WindowRef win_;
    FormWindow* form_ = nullptr;
};

TEST_F(BindingTest, BuildsTheWindowFromItsRecords) {
    ASSERT_NE(form_, nullptr);
    EXPECT_EQ(log_.names(), std::vector<std::string>{"created"});
    EXPECT_TRUE(form_->isWindow());
    EXPECT_EQ(form_->geometry(), QRect(50, 50, 400, 300));
    // Resizable: the learner may make it larger or smaller.
    EXPECT_LT(form_->minimumSize().width(), 400);
    EXPECT_GT(form_->maximumSize().width(), 400);
    // The label inside the picture box is placed relative to the box and is its child.
    QWidget* inner = widget("标签1");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->parentWidget(), box());
    EXPECT_EQ(inner->mapTo(form_, QPoint(0, 0)), QPoint(15, 16));
    EXPECT_EQ(inner->accessibleName(), QStringLiteral("标签1"));
    // Later records lie above earlier ones.
    EXPECT_EQ(form_->childAt(QPoint(212, 22)), widget("按钮开"));
    EXPECT_TRUE(widget("标签39")->isHidden());
    EXPECT_FALSE(widget("标签1")->isHidden());
    EXPECT_EQ(widget<QPushButton>("长动")->text(), QStringLiteral("电路长动"));
    EXPECT_EQ(widget("长动")->font().pixelSize(), 19);
    EXPECT_EQ(widget("长动")->font().weight(), QFont::Bold);
    EXPECT_FALSE(box()->still().isNull());
    EXPECT_EQ(box()->still().size(), QSize(160, 104));
}

TEST_F(BindingTest, WireBarIsPaintedInItsColoursWithoutText) {
    const QImage bar = widget("e1线")->grab().toImage();
    ASSERT_EQ(bar.size(), QSize(100, 4));
    EXPECT_EQ(bar.pixelColor(50, 0), QColor(255, 255, 0));
    EXPECT_EQ(bar.pixelColor(50, 1), QColor(0, 255, 0));
    EXPECT_EQ(bar.pixelColor(50, 2), QColor(0, 255, 0));
    EXPECT_EQ(bar.pixelColor(50, 3), QColor(255, 255, 0));
    EXPECT_EQ(bar.pixelColor(5, 1), QColor(0, 255, 0));  // where a caption would start
}

// The learner's input: which handlers run, in which order, with which arguments.
TEST_F(BindingTest, InputReachesTheBoundHandlers) {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_));
    log_.take();

    QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
    EXPECT_EQ(log_.names(), std::vector<std::string>{"click"});

    QTest::mousePress(widget("sb1"), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(3, 4));
    QTest::mouseRelease(widget("sb1"), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier,
                        QPoint(5, 6));
    auto calls = log_.take();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].what, "down");
    EXPECT_EQ(calls[1].what, "up");
    EXPECT_EQ(std::tie(calls[0].x, calls[0].y, calls[0].keys), std::make_tuple(3, 4, 3));
    EXPECT_EQ(std::tie(calls[1].x, calls[1].y, calls[1].keys), std::make_tuple(5, 6, 3));

    QTest::mousePress(widget("透明标签1"), Qt::LeftButton, Qt::AltModifier, QPoint(7, 8));
    QTest::mouseRelease(widget("透明标签1"), Qt::LeftButton, Qt::AltModifier, QPoint(7, 8));
    calls = log_.take();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].what, "area");
    EXPECT_EQ(std::tie(calls[0].x, calls[0].y, calls[0].keys), std::make_tuple(7, 8, 4));

    // A right click is no click; a click on a label or a check box runs nothing.
    QTest::mouseClick(widget("按钮开"), Qt::RightButton);
    QTest::mouseClick(widget("标签1"), Qt::LeftButton);
    QTest::mouseClick(widget("选择框"), Qt::LeftButton);
    EXPECT_TRUE(log_.take().empty());
    EXPECT_EQ(get("选择框", prop::Checked), 1);  // the learner's tick reached the model
}

TEST_F(BindingTest, ModelWritesShowAtOnceAndFireNothing) {
    auto* check = widget<QCheckBox>("选择框");
    int toggles = 0;
    QObject::connect(check, &QCheckBox::toggled, [&] { ++toggles; });
    check->click();  // the learner ticks it
    ASSERT_EQ(get("选择框", prop::Checked), 1);
    log_.take();
    toggles = 0;

    set("选择框", prop::Checked, 0);
    EXPECT_FALSE(check->isChecked());
    set("选择框", prop::Checked, 0);  // unticked already: nothing changes
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(toggles, 0);
    EXPECT_EQ(get("选择框", prop::Checked), 0);

    set("标签39", prop::Caption, gbk("电机正转"));
    set("标签39", prop::TextColor, 65280);
    set("标签39", prop::Visible, 1);
    auto* label = widget<TextLabel>("标签39");
    EXPECT_EQ(label->caption(), QStringLiteral("电机正转"));
    EXPECT_EQ(label->textColor(), QColor(0, 255, 0));
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(log_.take().empty());
}

struct VisibleRow {
    int boxVisible, labelVisible, expectedRead;
    friend void PrintTo(const VisibleRow& r, std::ostream* os) {
        *os << "box " << r.boxVisible << ", label " << r.labelVisible;
    }
};

class VisibleRule : public BindingTest, public ::testing::WithParamInterface<VisibleRow> {};

// A label reads 1 exactly when it and its container are shown, and the screen agrees.
TEST_P(VisibleRule, ReadFollowsLabelAndContainer) {
    const VisibleRow row = GetParam();
    form_->show();
    set("图片框1", prop::Visible, row.boxVisible);
    set("标签1", prop::Visible, row.labelVisible);
    EXPECT_EQ(get("标签1", prop::Visible), row.expectedRead);
    EXPECT_EQ(widget("标签1")->isVisible(), row.expectedRead == 1);
    EXPECT_EQ(widget("标签1")->isHidden(), row.labelVisible == 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, VisibleRule,
                         ::testing::Values(VisibleRow{1, 1, 1}, VisibleRow{1, 0, 0},
                                           VisibleRow{0, 1, 0}, VisibleRow{0, 0, 0},
                                           VisibleRow{7, 9, 1}));

TEST_F(BindingTest, GifRestartsWhenSetAgainAndPngEndsIt) {
    const MediaRef gif = media::blob(media::Role::MotorForward);
    set("图片框1", prop::Picture, gif);
    ASSERT_TRUE(box()->animating());
    QMovie* first = box()->movie();
    EXPECT_EQ(first->scaledSize(), QSize(160, 104));
    EXPECT_EQ(first->state(), QMovie::Running);
    ASSERT_TRUE(waitFor([&] { return box()->movie()->currentFrameNumber() >= 2; }));

    set("图片框1", prop::Picture, gif);
    ASSERT_TRUE(box()->animating());
    EXPECT_EQ(box()->movie()->currentFrameNumber(), 0);
    EXPECT_EQ(box()->movie()->state(), QMovie::Running);
    EXPECT_EQ(box()->movie()->currentPixmap().size(), QSize(160, 104));

    // Frames are not kept: the movie reads its file again from the start at the end of a loop.
    box()->movie()->setSpeed(2000);
    int last = 0;
    ASSERT_TRUE(waitFor([&] {
        const int now = box()->movie()->currentFrameNumber();
        const bool wrapped = now < last;
        last = std::max(last, now);
        return wrapped;
    }));
    EXPECT_GT(last, 2);
    EXPECT_EQ(box()->movie()->state(), QMovie::Running);
    EXPECT_EQ(box()->movie()->currentPixmap().size(), QSize(160, 104));

    set("图片框1", prop::Picture, media::blob(media::Role::ContactorPulledIn));
    EXPECT_FALSE(box()->animating());
    EXPECT_EQ(box()->still().size(), QSize(160, 104));
}

TEST_F(BindingTest, StillPicturesAreDecodedAndScaledOncePerSize) {
    qt::PictureCache& cache = harness_.platform().pictures();
    const MediaRef released = media::blob(media::Role::ContactorReleased);
    const MediaRef pulledIn = media::blob(media::Role::ContactorPulledIn);
    set("图片框1", prop::Picture, pulledIn);
    set("图片框1", prop::Picture, released);
    const auto decodes = cache.decodeCount(), scales = cache.scaleCount();
    for (int i = 0; i < 20; ++i) {
        set("图片框1", prop::Picture, i % 2 ? released : pulledIn);
        box()->grab();
    }
    EXPECT_EQ(cache.decodeCount(), decodes);
    EXPECT_EQ(cache.scaleCount(), scales);
}

// Form records each carry their own copy of a picture: equal bytes at another address are the
// same picture, decoded and scaled once; a different picture of the same length is not.
TEST_F(BindingTest, CopiesOfOnePictureShareTheirDecodedImage) {
    qt::PictureCache cache;
    const auto png = fileOf(media::Role::ContactorPulledIn);
    const std::vector<std::uint8_t> copy(png.begin(), png.end());
    const QPixmap a = cache.scaled(png, QSize(40, 30));
    const QPixmap b = cache.scaled(copy, QSize(40, 30));
    EXPECT_EQ(a.cacheKey(), b.cacheKey());
    EXPECT_EQ(cache.decodeCount(), 1u);
    std::vector<std::uint8_t> other = copy;
    other[other.size() / 2] ^= 0xFF;  // corrupt: same length, other bytes
    EXPECT_NE(cache.scaled(other, QSize(40, 30)).cacheKey(), a.cacheKey());
    EXPECT_EQ(cache.decodeCount(), 2u);
}

// A picture prepared off the GUI thread (the menu background at start-up) is taken as it is.
TEST_F(BindingTest, PreparedPictureIsUsedWithoutDecodingAgain) {
    qt::PictureCache cache;
    const auto png = fileOf(media::Role::ContactorPulledIn);
    cache.adopt(png, qt::PictureCache::prepare(png));
    const QPixmap pixmap = cache.scaled(png, QSize(77, 55));
    EXPECT_EQ(pixmap.size(), QSize(77, 55));
    EXPECT_EQ(cache.decodeCount(), 0u);
    EXPECT_EQ(cache.scaled(png, QSize(77, 55)).cacheKey(), pixmap.cacheKey());
    // A prepared picture that does not decode leaves the ordinary path to refuse it.
    const auto bad = png.first(100);
    cache.adopt(bad, qt::PictureCache::prepare(bad));
    EXPECT_TRUE(cache.scaled(bad, QSize(10, 10)).isNull());
}

struct BadBlob {
    const char* what;
    std::function<Blob()> make;
    friend void PrintTo(const BadBlob& b, std::ostream* os) { *os << b.what; }
};

class BadPicture : public BindingTest, public ::testing::WithParamInterface<BadBlob> {};

TEST_P(BadPicture, LeavesTheBoxAsItWas) {
    const Blob bad = GetParam().make();
    const qint64 still = box()->still().cacheKey();
    set("图片框1", prop::Picture, bad.ref());
    EXPECT_FALSE(box()->animating());
    EXPECT_EQ(box()->still().cacheKey(), still);

    set("图片框1", prop::Picture, media::blob(media::Role::MotorReverse));
    QMovie* movie = box()->movie();
    set("图片框1", prop::Picture, bad.ref());
    EXPECT_EQ(box()->movie(), movie);
    EXPECT_EQ(movie->state(), QMovie::Running);
}

std::span<const std::uint8_t> head(media::Role role, std::size_t n) {
    return fileOf(role).first(n);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadPicture,
    ::testing::Values(
        BadBlob{"TruncatedPng", [] { return Blob(head(media::Role::ContactorPulledIn, 200)); }},
        BadBlob{"TruncatedGif", [] { return Blob(head(media::Role::MotorForward, 900)); }},
        BadBlob{"GifSignatureOnly",
                [] {
                    static const std::uint8_t g[] = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF};
                    return Blob(g);
                }},
        BadBlob{"Wave", [] { return Blob(fileOf(media::Role::StartSound1)); }},
        BadBlob{"Empty", [] { return Blob({}); }},
        BadBlob{"WrongMarker", [] { return Blob(fileOf(media::Role::ContactorPulledIn), 2); }},
        BadBlob{"LengthPastTheEnd",
                [] { return Blob(fileOf(media::Role::ContactorPulledIn), 1, 5); }}),
    [](const auto& info) { return std::string(info.param.what); });

// --- Threads ---------------------------------------------------------------------------------

TEST_F(BindingTest, ThreadWritesReachTheWidgets) {
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            set("标签39", prop::Caption, gbk(i % 2 ? "电机正转" : "电机反转"));
        set("标签39", prop::TextColor, 255);
        set("标签39", prop::Visible, 1);
        set("标签1", prop::Visible, 0);
        set("图片框1", prop::Picture, media::blob(media::Role::MotorForward));
        set("选择框", prop::Checked, 0);
        set("标签39", prop::Caption, gbk("电机启动中"));
    });
    worker.join();
    auto* label = widget<TextLabel>("标签39");
    ASSERT_TRUE(waitFor([&] { return label->caption() == QStringLiteral("电机启动中"); }));
    EXPECT_EQ(label->textColor(), QColor(255, 0, 0));
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(widget("标签1")->isHidden());
    EXPECT_TRUE(box()->animating());
}

TEST_F(BindingTest, ThreadWritesToAClosedWindowAreDropped) {
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) set("标签39", prop::Caption, gbk("电机正转"));
    });
    worker.join();
    // The queued updates are still pending when the window goes away.
    form_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(harness_.window(win_), nullptr);
    EXPECT_FALSE(win_->isOpen());
    QCoreApplication::processEvents();
    set("标签39", prop::Caption, gbk("电机反转"));
    EXPECT_EQ(harness_.ui().getInt(win_, gbk("标签39"), prop::Visible), 0);
}

TEST_F(BindingTest, MessageBoxFromAThreadLeavesTheWindowsUsable) {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_));
    log_.take();
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        harness_.ui().showMessage(gbk("请连线"));
        returned = true;
    });
    ASSERT_TRUE(waitFor([&] { return harness_.platform().workerBoxes().size() == 1; }));
    QMessageBox* msg = harness_.platform().workerBoxes().front();
    EXPECT_EQ(msg->windowTitle(), QStringLiteral("信息："));
    EXPECT_EQ(msg->text(), QStringLiteral("请连线"));
    EXPECT_EQ(msg->buttons().size(), 1);
    EXPECT_EQ(msg->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_FALSE(msg->isModal());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(msg));
    EXPECT_GE(msg->width(), qt::boxWidth(*msg));
    EXPECT_FALSE(msg->windowFlags() & Qt::WindowMinimizeButtonHint);

    QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
    EXPECT_EQ(log_.names(), std::vector<std::string>{"click"});
    EXPECT_FALSE(returned.load());

    QTest::mouseClick(msg->button(QMessageBox::Ok), Qt::LeftButton);
    worker.join();
    EXPECT_TRUE(returned.load());
    EXPECT_TRUE(harness_.platform().workerBoxes().empty());
}

TEST_F(BindingTest, ThreadWaitingOnABoxIsReleasedAtProgramEnd) {
    std::thread worker([&] { harness_.ui().showMessage(gbk("请连线1")); });
    ASSERT_TRUE(waitFor([&] { return harness_.platform().workerBoxes().size() == 1; }));
    QPointer<QMessageBox> msg = harness_.platform().workerBoxes().front();
    harness_.ui().shutdown();  // releases the box and joins nothing of ours
    worker.join();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(msg.isNull());
    // A box asked for after the end returns at once.
    std::thread late([&] { harness_.ui().showMessage(gbk("请连线2")); });
    late.join();
}

// --- Modality ---------------------------------------------------------------------------------

TEST_F(BindingTest, MessageBoxFromTheGuiBlocksEveryWindow) {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_));
    log_.take();
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* msg = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(msg, nullptr);
        EXPECT_EQ(msg->windowTitle(), QStringLiteral("信息："));
        EXPECT_EQ(msg->text(), QStringLiteral("请合上电源"));
        EXPECT_EQ(msg->buttons().size(), 1);
        EXPECT_EQ(msg->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        // A dialog's title bar: a close button only, and room for the whole title.
        EXPECT_FALSE(msg->windowFlags() &
                     (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(msg->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_GE(msg->width(), qt::boxWidth(*msg));
        QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
        QTest::mousePress(widget("透明标签1"), Qt::LeftButton);
        EXPECT_TRUE(log_.take().empty());
        checked = true;
        msg->button(QMessageBox::Ok)->click();
    });
    harness_.ui().showMessage(gbk("请合上电源"));
    EXPECT_TRUE(checked);
    QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
    EXPECT_EQ(log_.names(), std::vector<std::string>{"click"});
}

// The window underneath also lets go of its background while it is disabled, and draws the same
// once enabled again.
TEST_F(BindingTest, DialogModeRefusesTheOtherWindowsUntilClosed) {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_));
    log_.take();
    widget("长动")->setFocus(Qt::OtherFocusReason);  // where the focus comes back to
    const QImage enabled = form_->grab().toImage();
    qt::PictureCache& cache = harness_.platform().pictures();
    cache.dropDecoded();  // what is held now is what the window shows
    const std::size_t held = cache.heldBytes();
    const std::size_t background =
        static_cast<std::size_t>(form_->width()) * static_cast<std::size_t>(form_->height()) * 4u;
    bool inside = false;
    QTimer::singleShot(0, [&] {
        WindowRef dialog = harness_.ui().openInstance(kDialog);
        ASSERT_TRUE(dialog);
        FormWindow* dw = harness_.window(dialog);
        ASSERT_NE(dw, nullptr);
        EXPECT_TRUE(dw->isVisible());
        EXPECT_EQ(dw->geometry(), QRect(50, 50, 300, 200));
        EXPECT_FALSE(form_->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return cache.heldBytes() + background <= held; }))
            << cache.heldBytes() << " of " << held;
        QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
        QTest::mouseClick(widget("长动"), Qt::LeftButton);
        // A close asked for by the window system is refused as well.
        QCloseEvent wmClose;
        QSpontaneKeyEvent::setSpontaneous(&wmClose);
        qApp->notify(form_, &wmClose);  // as delivered from the window system
        EXPECT_FALSE(wmClose.isAccepted());
        EXPECT_TRUE(form_->isVisible());
        EXPECT_TRUE(log_.take().empty());
        inside = true;
        dw->close();
    });
    QTest::mouseClick(widget("长动"), Qt::LeftButton);
    EXPECT_TRUE(inside);
    EXPECT_EQ(log_.names(), std::vector<std::string>{"returned"});
    EXPECT_TRUE(form_->isEnabled());
    // The same picture, but for the button under the pointer, which shows its hover cue.
    const auto outside = [&](QImage image) {
        QPainter(&image).fillRect(widget("长动")->geometry(), Qt::black);
        return image;
    };
    EXPECT_EQ(outside(form_->grab().toImage()), outside(enabled));
    // The button that opened the dialog has the focus again, not the first control.
    EXPECT_EQ(form_->focusWidget(), widget("长动"));
    EXPECT_EQ(harness_.ui().openInstance(kDialog), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(harness_.platform().windows().size(), 1u);
    QTest::mouseClick(widget("按钮开"), Qt::LeftButton);
    EXPECT_EQ(log_.names(), std::vector<std::string>{"click"});
}

TEST_F(BindingTest, VisualStyleOneIsAppliedOnceToAllWindows) {
    const QString before = QApplication::style()->name();
    harness_.platform().applyVisualStyle(1);
    QStyle* fusion = QApplication::style();
    EXPECT_EQ(fusion->name(), QStringLiteral("fusion"));
    EXPECT_EQ(widget("长动")->style(), fusion);
    harness_.platform().applyVisualStyle(1);
    EXPECT_EQ(QApplication::style(), fusion);
    // Put the start-up look back for the tests that follow.
    QApplication::setStyle(before);
}

// Pictures for a screen of two device pixels per logical one are made at twice the size.
TEST_F(BindingTest, PicturesAreScaledToDevicePixels) {
    qt::PictureCache cache;
    const auto png = fileOf(media::Role::ContactorPulledIn);
    const QPixmap sharp = cache.scaled(png, QSize(40, 30), 2.0);
    EXPECT_EQ(sharp.size(), QSize(80, 60));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(cache.scaled(png, QSize(40, 30), 1.0).size(), QSize(40, 30));
    EXPECT_EQ(cache.decodeCount(), 1u);
    EXPECT_EQ(cache.scaleCount(), 2u);
}

// A picture made at the screen's pixels lands on them one to one, whatever the ratio and
// wherever it is drawn; one of another size is scaled into the rectangle.
TEST_F(BindingTest, DevicePicturesAreCopiedPixelForPixel) {
    struct Row {
        qreal dpr;
        QPointF at;
    };
    for (const Row& row : {Row{1.0, {0, 0}}, Row{1.5, {0, 0}}, Row{1.5, {2, 4}}, Row{1.25, {4, 8}},
                           Row{2.0, {3, 1}}}) {
        const QSizeF logical(20, 12);
        const QSize device(qRound(logical.width() * row.dpr), qRound(logical.height() * row.dpr));
        QImage pattern(device, QImage::Format_RGB32);
        for (int y = 0; y < device.height(); ++y)
            for (int x = 0; x < device.width(); ++x)
                pattern.setPixel(x, y, qRgb(x * 9 % 256, y * 13 % 256, (x * y) % 256));
        QImage screen(QSize(64, 64), QImage::Format_RGB32);
        screen.fill(Qt::black);
        screen.setDevicePixelRatio(row.dpr);
        {
            QPainter p(&screen);
            qt::blitDevicePixels(p, QRectF(row.at, logical), QPixmap::fromImage(pattern));
        }
        const QPoint origin = (row.at * row.dpr).toPoint();
        int wrong = 0;
        for (int y = 0; y < device.height(); ++y)
            for (int x = 0; x < device.width(); ++x)
                wrong += screen.pixel(origin + QPoint(x, y)) != pattern.pixel(x, y);
        EXPECT_EQ(wrong, 0) << "ratio " << row.dpr << " at " << row.at.x() << "," << row.at.y();
    }
    QImage screen(QSize(64, 64), QImage::Format_RGB32);
    screen.fill(Qt::black);
    screen.setDevicePixelRatio(1.5);
    QPixmap large(QSize(80, 80));
    large.fill(Qt::white);
    {
        QPainter p(&screen);
        qt::blitDevicePixels(p, QRectF(0, 0, 20, 20), large);
    }
    EXPECT_EQ(screen.pixel(29, 29), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(31, 31), qRgb(0, 0, 0));
}

// The repeat of a window's first exposure is dropped: only in the batch of events that brought
// the first, and only where the first paint covered it.
TEST(ExposeFilter, DropsOnlyTheRepeatOfTheFirstExposure) {
    class Counting : public QWindow {
      public:
        int exposes = 0;

      protected:
        bool event(QEvent* e) override {
            exposes += e->type() == QEvent::Expose;
            return QWindow::event(e);
        }
    };
    struct Row {
        const char* what;
        QRect repeat;
        bool laterBatch;
        bool dropped;
    };
    const QRect whole(0, 0, 100, 80);
    for (const Row& row : {Row{"the whole window, same batch", whole, false, true},
                           Row{"a part of it, same batch", QRect(10, 10, 20, 20), false, true},
                           Row{"more than was painted", QRect(0, 0, 120, 80), false, false},
                           Row{"the whole window, a later batch", whole, true, false}}) {
        Counting window;
        window.resize(whole.size());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        qt::dropRepeatedExposure(window);
        // The first exposure as Qt delivers it: an expose event, then a paint event for it.
        QExposeEvent first{QRegion(whole)};
        QCoreApplication::sendEvent(&window, &first);
        QPaintEvent firstPaint{QRegion(whole)};
        QCoreApplication::sendEvent(&window, &firstPaint);
        if (row.laterBatch) QTest::qWait(10);
        const int before = window.exposes;
        QPaintEvent again{QRegion(row.repeat)};
        QCoreApplication::sendEvent(&window, &again);
        QExposeEvent expose{QRegion(row.repeat)};
        QCoreApplication::sendEvent(&window, &expose);
        EXPECT_EQ(window.exposes - before, row.dropped ? 0 : 1) << row.what;
    }
}

// Once a window is drawn the small decoded pictures go; a further size decodes again.
TEST_F(BindingTest, DecodedPicturesGoWhenDropped) {
    qt::PictureCache cache;
    const auto png = fileOf(media::Role::ContactorPulledIn);  // 505 x 505, kept decoded
    cache.scaled(png, QSize(40, 30));
    EXPECT_EQ(cache.heldBytes(), 505u * 505u * 4u + 40u * 30u * 4u);
    EXPECT_EQ(cache.dropDecoded(), 505u * 505u * 4u);
    EXPECT_EQ(cache.heldBytes(), 40u * 30u * 4u);
    EXPECT_EQ(cache.dropDecoded(), 0u);
    EXPECT_EQ(cache.scaled(png, QSize(40, 30)).size(), QSize(40, 30));
    EXPECT_EQ(cache.decodeCount(), 1u);
    EXPECT_EQ(cache.scaled(png, QSize(41, 30)).size(), QSize(41, 30));
    EXPECT_EQ(cache.decodeCount(), 2u);
}

// Resizing a window again and again keeps only a few sizes of each picture.
TEST_F(BindingTest, OnlyRecentSizesOfAPictureAreKept) {
    qt::PictureCache cache;
    const auto png = fileOf(media::Role::ContactorPulledIn);
    for (int w = 40; w < 50; ++w) cache.scaled(png, QSize(w, 30));
    const auto scales = cache.scaleCount();
    cache.scaled(png, QSize(49, 30));  // recent: kept
    EXPECT_EQ(cache.scaleCount(), scales);
    cache.scaled(png, QSize(40, 30));  // long ago: made again
    EXPECT_EQ(cache.scaleCount(), scales + 1);
    EXPECT_EQ(cache.decodeCount(), 1u);
}

// What the warm-up thread made is taken over without any decoding or scaling on this thread,
// under every copy of the picture.
TEST_F(BindingTest, WarmedPicturesCostTheGuiThreadNothing) {
    qt::PictureCache cache;
    const auto png = fileOf(media::Role::ContactorPulledIn);
    const std::vector<std::uint8_t> copy(png.begin(), png.end());
    cache.warmUp({{png, QSize(77, 55)}, {copy, QSize(154, 110)}, {copy, QSize(77, 55)}});
    cache.finishWarmUp();
    EXPECT_EQ(cache.warmedCount(), 1u);  // one picture, decoded once for both sizes
    EXPECT_EQ(cache.scaled(copy, QSize(77, 55)).size(), QSize(77, 55));
    EXPECT_EQ(cache.scaled(png, QSize(77, 55), 2.0).size(), QSize(154, 110));
    EXPECT_EQ(cache.decodeCount(), 0u);
    EXPECT_EQ(cache.scaleCount(), 0u);
    // Anything not warmed is still made on demand.
    EXPECT_EQ(cache.scaled(png, QSize(10, 10)).size(), QSize(10, 10));
    EXPECT_EQ(cache.scaleCount(), 1u);
}

// A task given after the warm-up runs once the pictures asked for before it are made, and still
// after them when a later warm-up replaces those; its future is ready even if it never runs.
TEST_F(BindingTest, TaskAfterWarmUpFollowsThePictures) {
    const auto png = fileOf(media::Role::ContactorPulledIn);
    const auto other = fileOf(media::Role::SwitchOpen);
    for (const bool laterWarmUp : {false, true}) {
        qt::PictureCache cache;
        cache.warmUp({{png, QSize(300, 300)}});
        std::size_t made = 0;
        std::future<void> done = cache.afterWarmUp([&] { made = cache.warmedCount(); });
        // The second warm-up may drop the first picture if it has not started yet.
        if (laterWarmUp) cache.warmUp({{other, QSize(200, 180)}});
        ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        cache.finishWarmUp();
        EXPECT_GE(made, 1u) << laterWarmUp;
        EXPECT_EQ(made, cache.warmedCount()) << laterWarmUp;  // nothing was made after it
    }
    std::future<void> orphan;
    {
        qt::PictureCache cache;
        cache.warmUp({{png, QSize(300, 300)}, {other, QSize(200, 180)}});
        orphan = cache.afterWarmUp([] {});
    }
    EXPECT_EQ(orphan.wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

// The cache holds what is shown and what is about to be: a later warm-up replaces what an
// earlier one made and nobody took, and a trim lets go of everything no widget shows except what
// it is told to keep. What is held afterwards depends only on what is kept, not on the history.
TEST_F(BindingTest, CacheHoldsOnlyWhatIsShownOrAboutToBe) {
    qt::PictureCache cache;
    const auto contactor = fileOf(media::Role::ContactorPulledIn);
    const auto breaker = fileOf(media::Role::SwitchOpen);
    const auto motor = fileOf(media::Role::MotorAtRest);
    const std::vector<qt::PictureCache::Request> soon{{contactor, QSize(200, 200)}};
    cache.warmUp(soon);
    cache.finishWarmUp();
    const std::size_t ahead = cache.heldBytes();
    EXPECT_EQ(ahead, 200u * 200u * 4u);
    cache.warmUp({{breaker, QSize(300, 300)}});
    cache.finishWarmUp();
    EXPECT_EQ(cache.heldBytes(), 300u * 300u * 4u);  // the contactor went

    const QPixmap shown = cache.scaled(motor, QSize(100, 80));
    cache.scaled(motor, QSize(50, 40));  // made and dropped by whoever asked
    EXPECT_GT(cache.trim(soon), 0u);
    EXPECT_EQ(cache.heldBytes(), 100u * 80u * 4u);  // only what a widget still shows
    cache.warmUp(soon);
    cache.finishWarmUp();
    EXPECT_EQ(cache.heldBytes(), ahead + 100u * 80u * 4u);
    const auto scales = cache.scaleCount();
    EXPECT_EQ(cache.scaled(motor, QSize(100, 80)).cacheKey(), shown.cacheKey());
    EXPECT_EQ(cache.scaled(contactor, QSize(200, 200)).size(), QSize(200, 200));
    EXPECT_EQ(cache.scaleCount(), scales);
    EXPECT_EQ(cache.trim(soon), 0u);  // nothing to let go: all of it is shown or wanted
}

// A window too large for the screen (the offscreen screen is 1920 x 1080, without frames) opens
// uniformly smaller, and so does everything in it; clicks land on what is drawn, also after the
// learner resized the window to other proportions.
constexpr std::uint32_t kLarge = 0x52000003;

form::WindowBlock largeBlock() {
    form::WindowBlock b;
    b.windowId = kLarge;
    b.moduleId = 0x19000003;
    form::ControlRecord w = record(0x06000003, Kind::Window, "", {0, 0, 2400, 1350});
    w.picture = fileOf(media::Role::SwitchOpen);
    b.records.push_back(w);
    form::ControlRecord on = record(0x16000040, Kind::Button, "按钮开", {1000, 500, 100, 50});
    on.picture = fileOf(media::Role::SwitchClosed);
    on.events = {{form::kEventClicked, kClick}};
    b.records.push_back(on);
    form::ControlRecord wire = record(0x16000041, Kind::Label, "e1线", {100, 100, 3, 200});
    wire.barMode = 1;
    b.records.push_back(wire);
    form::ControlRecord label = record(0x16000042, Kind::Label, "标签39", {100, 400, 300, 40});
    label.font.emplace();
    label.font->height = -20;
    b.records.push_back(label);
    form::ControlRecord box = record(0x16000043, Kind::PictureBox, "图片框1", {200, 600, 400, 300});
    box.picture = fileOf(media::Role::ContactorReleased);
    b.records.push_back(box);
    return b;
}

TEST(ScaledWindow, FitsTheScreenAndClicksLandOnWhatIsDrawn) {
    CallLog log;
    std::vector<Handler> handlers(kCount);
    handlers[kClick] = log.handler("click");
    Harness harness({largeBlock()}, handlers);
    const WindowRef win = harness.open(kLarge);
    FormWindow* form = harness.window(win);
    ASSERT_NE(form, nullptr);
    struct Row {
        QSize client;  // empty: as opened
        QRect button, wire, box;
        int fontPixels;
    };
    const Row rows[] = {
        {{}, {800, 400, 80, 40}, {80, 80, 2, 160}, {160, 480, 320, 240}, 16},
        // Half as tall, a little wider: scale 0.4, centred across.
        {{1000, 540}, {420, 200, 40, 20}, {60, 40, 1, 80}, {100, 240, 160, 120}, 8},
    };
    for (const Row& row : rows) {
        if (!row.client.isEmpty()) form->resize(row.client);
        ASSERT_TRUE(waitFor([&] { return form->isVisible(); }));
        if (row.client.isEmpty()) {
            EXPECT_EQ(form->frameGeometry(), QRect(0, 0, 1920, 1080));
        }
        QWidget* button = harness.widget(win, "按钮开");
        EXPECT_EQ(button->geometry(), row.button);
        EXPECT_EQ(harness.widget(win, "e1线")->geometry(), row.wire);
        EXPECT_EQ(harness.widget(win, "标签39")->font().pixelSize(), row.fontPixels);
        auto* box = harness.widget<PictureBox>(win, "图片框1");
        EXPECT_EQ(box->geometry(), row.box);
        box->grab();
        EXPECT_EQ(box->still().size(), row.box.size());
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, row.button.center());
        EXPECT_EQ(log.names(), std::vector<std::string>{"click"});
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                          row.button.topLeft() - QPoint(3, 3));
        EXPECT_TRUE(log.names().empty());
    }
    // The model keeps the stored geometry.
    EXPECT_EQ(harness.ui().getInt(win, gbk("按钮开"), prop::Width), 100);
}

}  // namespace
}  // namespace wt::test
