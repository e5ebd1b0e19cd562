// The control model without a screen: the visible read rule, closed windows, the operations'
// order of effects, and whole property values across threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "resources/gbk.h"
#include "ui/ui.h"

namespace wt {
namespace {

using form::ControlRecord;
using form::Kind;

constexpr std::uint32_t kWin = 0x52000001;

ControlRecord record(std::uint32_t id, Kind kind, const char* name, bool visible = true,
                     std::uint32_t parent = 0) {
    ControlRecord r;
    r.id = id;
    r.kind = kind;
    r.nameGbk = gbk(name);
    r.geometry = {10, 20, 30, 40};
    r.parent = parent;
    r.stateFlags = visible ? 1 : 0;
    return r;
}

// A window: a label, a picture box holding a label and a button, a check box, a hidden label.
form::FormResource smallForms() {
    form::WindowBlock b;
    b.windowId = kWin;
    b.moduleId = 0x19000001;
    ControlRecord w = record(0x06000001, Kind::Window, "");
    w.events = {{0, 0}};  // created -> handler 0
    b.records.push_back(w);
    b.records.push_back(record(0x16000010, Kind::Label, "e1线"));
    ControlRecord box = record(0x1600000F, Kind::PictureBox, "图片框1");
    box.children = {0x1600000E, 0x1600000D};
    b.records.push_back(box);
    b.records.push_back(record(0x1600000E, Kind::Label, "标签1", true, 0x1600000F));
    ControlRecord button = record(0x1600000D, Kind::Button, "按钮1", true, 0x1600000F);
    button.events = {{0, 1}, {-1, 2}, {0, 99}};  // 99: no such routine, ignored
    b.records.push_back(button);
    b.records.push_back(record(0x1600000C, Kind::CheckBox, "选择框"));
    b.records.push_back(record(0x1600000B, Kind::Label, "标签39", false));
    return form::FormResource::fromBlocks({b});
}

class FakePlatform : public Platform {
  public:
    void createWindow(const WindowRef&) override { log("create"); }
    void showWindow(const WindowRef&) override { log("show"); }
    void runModal(const WindowRef&) override { log("modal"); }
    void activateWindow(const WindowRef&) override { log("activate"); }
    void propertyChanged(const WindowRef&, int index, int prop) override {
        log("changed " + std::to_string(index) + ":" + std::to_string(prop));
    }
    int messageBox(const std::string& text, const std::string& title, int, bool gui) override {
        log("message " + utf8(text) + " / " + utf8(title));
        if (gui) return 1;
        std::unique_lock lock(mutex_);
        ++waiting_;
        cv_.notify_all();
        cv_.wait(lock, [&] { return released_; });
        return 1;
    }
    void playSound(MediaRef) override { log("sound"); }
    void applyVisualStyle(int style) override { log("style " + std::to_string(style)); }
    bool onGuiThread() const override { return std::this_thread::get_id() == gui_; }
    bool threadsAvailable() const override { return threads; }
    void releaseWaiters() override {
        std::lock_guard lock(mutex_);
        released_ = true;
        cv_.notify_all();
    }

    void log(std::string s) {
        std::lock_guard lock(mutex_);
        events.push_back(std::move(s));
    }
    std::vector<std::string> take() {
        std::lock_guard lock(mutex_);
        return std::exchange(events, {});
    }
    void waitForWaiters(int n) {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [&] { return waiting_ >= n; });
    }

    std::vector<std::string> events;
    bool threads = true;

  private:
    std::thread::id gui_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable cv_;
    bool released_ = false;
    int waiting_ = 0;
};

struct ModelFixture : ::testing::Test {
    ModelFixture() : forms(smallForms()) {
        handlers = {
            [this](const HandlerCall& c) {
                ++created;
                // The created handler sees its controls before the window is shown.
                c.ui.setProperty(c.window, gbk("e1线"), prop::Visible, 0);
            },
            [this](const HandlerCall&) { ++clicks; },
            [this](const HandlerCall& c) {
                lastPointer = {c.x, c.y, c.keys};
            },
        };
        ui = std::make_unique<Ui>(forms, platform, handlers);
    }
    WindowRef open() {
        EXPECT_TRUE(ui->openWindow(kWin, nullptr, false));
        return ui->openInstance(kWin);
    }
    std::int32_t visible(const WindowRef& w, const char* name) {
        return ui->getInt(w, gbk(name), prop::Visible);
    }

    form::FormResource forms;
    FakePlatform platform;
    std::vector<Handler> handlers;
    std::unique_ptr<Ui> ui;
    int created = 0, clicks = 0;
    std::array<int, 3> lastPointer{};
};

TEST_F(ModelFixture, OpeningCreatesRunsCreatedThenShows) {
    WindowRef w = open();
    ASSERT_TRUE(w);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(platform.take(), (std::vector<std::string>{"create", "changed 1:5", "show"}));
    // Already open: activated, not built again.
    EXPECT_TRUE(ui->openWindow(kWin, nullptr, true));
    EXPECT_EQ(created, 1);
    EXPECT_EQ(platform.take(), (std::vector<std::string>{"activate"}));
    EXPECT_EQ(ui->openInstance(kWin), w);
    EXPECT_FALSE(ui->openWindow(0x52000077, nullptr, false));
}

TEST_F(ModelFixture, DialogModeWaitsInTheModalLoop) {
    ui->openWindow(kWin, nullptr, true);
    EXPECT_EQ(platform.take().back(), "modal");
}

TEST_F(ModelFixture, VisibleReadsExactlyOneOrZeroAndFollowsContainers) {
    WindowRef w = open();
    EXPECT_EQ(visible(w, "e1线"), 0);  // hidden by the created handler
    ui->setProperty(w, gbk("e1线"), prop::Visible, 7);
    EXPECT_EQ(visible(w, "e1线"), 1);
    EXPECT_EQ(visible(w, "标签39"), 0);  // stored hidden
    EXPECT_EQ(visible(w, "标签1"), 1);
    ui->setProperty(w, gbk("图片框1"), prop::Visible, 0);
    EXPECT_EQ(visible(w, "标签1"), 0);  // its picture box is hidden
    EXPECT_EQ(visible(w, "按钮1"), 0);
    EXPECT_TRUE(w->state(w->indexOf(gbk("标签1"))).visible);  // its own flag is untouched
    ui->setProperty(w, gbk("图片框1"), prop::Visible, 1);
    EXPECT_EQ(visible(w, "按钮1"), 1);
    EXPECT_EQ(visible(w, "无此控件"), 0);
}

TEST_F(ModelFixture, PropertiesKeepTheirTypesAndKinds) {
    WindowRef w = open();
    const std::string label = gbk("标签39");
    ui->setProperty(w, label, prop::Caption, gbk("电机正转"));
    ui->setProperty(w, label, prop::TextColor, 65280);
    EXPECT_EQ(utf8(ui->getText(w, label, prop::Caption)), "电机正转");
    EXPECT_EQ(ui->getInt(w, label, prop::TextColor), 65280);
    // A value of the wrong type, or a property the kind lacks, changes nothing.
    ui->setProperty(w, label, prop::Caption, 5);
    ui->setProperty(w, label, prop::Checked, 1);
    EXPECT_EQ(utf8(ui->getText(w, label, prop::Caption)), "电机正转");
    EXPECT_EQ(ui->getInt(w, label, prop::Checked), 0);
    // The tag is a text on every kind; the empty text is a valid value.
    const std::string button = gbk("按钮1");
    ui->setProperty(w, button, prop::Tag, std::string("1"));
    EXPECT_EQ(ui->getText(w, button, prop::Tag), "1");
    ui->setProperty(w, button, prop::Tag, std::string());
    EXPECT_EQ(ui->getText(w, button, prop::Tag), "");
    // Geometry reads as stored and cannot be written.
    ui->setProperty(w, button, prop::Left, 500);
    EXPECT_EQ(ui->getInt(w, button, prop::Left), 10);
    std::string copy = ui->getText(w, label, prop::Caption);
    ui->releaseText(copy);
    EXPECT_TRUE(copy.empty());
}

TEST_F(ModelFixture, CheckBoxTakesTheLearnersTickAndWritesFireNothing) {
    WindowRef w = open();
    const std::string box = gbk("选择框");
    const int index = w->indexOf(box);
    w->userSetChecked(index, true);
    EXPECT_EQ(ui->getInt(w, box, prop::Checked), 1);
    platform.take();
    ui->setProperty(w, box, prop::Checked, 0);
    EXPECT_EQ(ui->getInt(w, box, prop::Checked), 0);
    EXPECT_EQ(platform.take(),
              (std::vector<std::string>{"changed " + std::to_string(index) + ":18"}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(ModelFixture, EventsReachTheirBoundHandlersOnly) {
    WindowRef w = open();
    const int button = w->indexOf(gbk("按钮1"));
    ui->fire(w, button, 0);
    EXPECT_EQ(clicks, 1);  // the binding to routine 99 is skipped
    ui->fire(w, button, -1, 3, 4, 2);
    EXPECT_EQ(lastPointer, (std::array<int, 3>{3, 4, 2}));
    ui->fire(w, button, -2);
    ui->fire(w, w->indexOf(gbk("e1线")), 0);
    ui->fire(w, 1000, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(created, 1);
}

TEST_F(ModelFixture, AClosedWindowReadsZeroAndIgnoresWrites) {
    WindowRef w = open();
    ui->windowClosed(w);
    EXPECT_FALSE(w->isOpen());
    EXPECT_EQ(ui->openInstance(kWin), nullptr);
    platform.take();
    ui->setProperty(w, gbk("e1线"), prop::Visible, 1);
    EXPECT_EQ(visible(w, "e1线"), 0);
    EXPECT_EQ(visible(w, "标签1"), 0);
    ui->fire(w, w->indexOf(gbk("按钮1")), 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(platform.take().empty());
    // Opening again builds a fresh window from the stored state.
    WindowRef again = open();
    EXPECT_NE(again, w);
    EXPECT_GT(again->serial(), w->serial());
    EXPECT_EQ(created, 2);
}

TEST_F(ModelFixture, MessagesDefaultToTheInformationTitleAndStyleAppliesOnce) {
    ui->showMessage(gbk("请连线"));
    ui->showMessage(gbk("请连线1"), 0, gbk("标题").c_str());
    ui->applyVisualStyle(1);
    ui->applyVisualStyle(1);
    EXPECT_EQ(platform.take(), (std::vector<std::string>{"message 请连线 / 信息：",
                                                         "message 请连线1 / 标题", "style 1"}));
    EXPECT_TRUE(ui->visualStyleApplied());
}

TEST(HandlerRegistry, ResolvesNamesInNumberOrderAndReportsGaps) {
    HandlerRegistry registry;
    int hit = 0;
    registry.add("A.x.clicked", [&](const HandlerCall&) { hit = 1; });
    registry.add("A.created", [&](const HandlerCall&) { hit = 2; });
    const char* const names[] = {"A.created", "A.y.clicked", "A.x.clicked"};
    std::vector<std::string> missing;
    auto table = registry.resolve(names, &missing);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_TRUE(table[0] && !table[1] && table[2]);
    EXPECT_EQ(missing, (std::vector<std::string>{"A.y.clicked"}));
}

TEST(Gbk, ConvertsBothWaysAndDropsWhatHasNoForm) {
    EXPECT_EQ(gbk("请连线"), "\xC7\xEB\xC1\xAC\xCF\xDF");
    EXPECT_EQ(utf8("\xC7\xEB\xC1\xAC\xCF\xDF"), "请连线");
    EXPECT_EQ(gbk("信息："), "\xD0\xC5\xCF\xA2\xA3\xBA");
    EXPECT_EQ(gbk("a😀b"), "ab");
    EXPECT_EQ(utf8(std::string("\xC7\xEB\xFF", 3)), "请");
    // Each thread reuses its converters: a refusal or a cut-off character leaves nothing behind
    // for the next conversion, and threads converting at once do not disturb one another.
    EXPECT_EQ(gbkExact("a😀b"), std::nullopt);
    EXPECT_EQ(utf8(std::string("\xC7\xEB\xC1", 3)), "请");
    EXPECT_EQ(gbk("请连线"), "\xC7\xEB\xC1\xAC\xCF\xDF");
    EXPECT_EQ(utf8("\xD0\xC5\xCF\xA2"), "信息");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i)
                if (utf8(gbk("电机正转")) != "电机正转") ++wrong;
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(wrong.load(), 0);
}

// --- Threads (ctest label "threads": also run under TSan) ----------------------------------

TEST_F(ModelFixture, ThreadsWriteAndReadWholeValues) {
    WindowRef w = open();
    const std::string label = gbk("标签39");
    const std::string a = gbk("电机启动中"), b = gbk("电机已停止");
    std::atomic<bool> bad{false};
    auto writer = [&](const std::string& text, int color) {
        for (int i = 0; i < 2000; ++i) {
            ui->setProperty(w, label, prop::Caption, text);
            ui->setProperty(w, label, prop::TextColor, color);
            // A read right after a write sees one of the two whole texts.
            std::string got = ui->getText(w, label, prop::Caption);
            if (got != a && got != b) bad = true;
        }
    };
    std::thread t1(writer, a, 65280), t2(writer, b, 255);
    for (int i = 0; i < 2000; ++i) ui->setProperty(w, gbk("e1线"), prop::Visible, i & 1);
    t1.join();
    t2.join();
    EXPECT_FALSE(bad);
    const std::int32_t color = ui->getInt(w, label, prop::TextColor);
    EXPECT_TRUE(color == 65280 || color == 255);
}

TEST_F(ModelFixture, StartThreadsSeeTheirWindowAndShutdownReleasesWaitingBoxes) {
    WindowRef w = open();
    std::atomic<int> ran{0};
    HandlerCall call{*ui, w};
    for (int i = 0; i < 3; ++i)
        ui->startThread(
            [&](const HandlerCall& c) {
                EXPECT_EQ(c.window, w);
                c.ui.setProperty(c.window, gbk("e1线"), prop::Visible, 1);
                c.ui.showMessage(gbk("请连线"));  // blocks this thread only
                ++ran;
            },
            call);
    platform.waitForWaiters(3);
    // The GUI thread goes on meanwhile.
    EXPECT_EQ(visible(w, "e1线"), 1);
    ui->windowClosed(w);
    ui->shutdown();  // releases the three boxes and joins the threads
    EXPECT_EQ(ran, 3);
    ui->startThread([&](const HandlerCall&) { ++ran; }, call);  // refused after shutdown
    EXPECT_EQ(ran, 3);
}

TEST_F(ModelFixture, WithoutThreadsAStartSequenceRunsToItsEndBeforeStartThreadReturns) {
    platform.threads = false;
    WindowRef w = open();
    platform.take();
    HandlerCall call{*ui, w, 5, 6, 1};
    std::thread::id ranOn;
    ui->startThread(
        [&](const HandlerCall& c) {
            ranOn = std::this_thread::get_id();
            EXPECT_EQ(c.window, w);
            c.ui.setProperty(c.window, gbk("e1线"), prop::Visible, 1);
            c.ui.showMessage(gbk("请连线"));  // the platform's own box; nothing waits here
        },
        call);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(visible(w, "e1线"), 1);
    const auto events = platform.take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1], "message 请连线 / 信息：");
    ui->shutdown();
    bool ran = false;
    ui->startThread([&](const HandlerCall&) { ran = true; }, call);  // refused after shutdown
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace wt
