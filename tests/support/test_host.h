// A headless host for exercise scenarios: the real FormResource window blocks, the real control
// model and the real handlers, with message boxes, sounds and picture changes recorded in order
// instead of shown. Names are UTF-8 here; the host converts to the model's GBK.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/registry.h"
#include "resources/form_reader.h"
#include "resources/media.h"
#include "ui/ui.h"

namespace wt::test {

// One observable effect, in the order the handlers caused it.
struct Effect {
    enum class Type { Message, Sound, Picture };
    Type type;
    std::string control;                    // Picture: the picture box (UTF-8)
    std::string text;                       // Message: the text (UTF-8)
    media::Role role = media::Role::Count;  // Sound / Picture
    bool fromGuiThread = true;

    std::string describe() const;
    friend bool operator==(const Effect&, const Effect&) = default;
};

Effect message(std::string text);
Effect sound(media::Role role);
Effect picture(std::string control, media::Role role);

class RecordingPlatform : public Platform {
  public:
    void createWindow(const WindowRef&) override {}
    void showWindow(const WindowRef&) override {}
    void runModal(const WindowRef&) override {}
    void activateWindow(const WindowRef&) override { ++activations; }
    void propertyChanged(const WindowRef& window, int index, int prop) override;
    int messageBox(const std::string& textGbk, const std::string& titleGbk, int buttons,
                   bool onGuiThread) override;
    void playSound(MediaRef wave) override;
    void applyVisualStyle(int style) override { styleApplied = style; }
    bool onGuiThread() const override;
    void releaseWaiters() override;

    std::vector<Effect> take();
    std::vector<Effect> snapshot() const;
    std::vector<std::string> titles() const;

    // When set, message boxes shown from other threads wait until `answerMessages()` or
    // program end instead of returning at once.
    void holdWorkerMessages(bool hold);
    void answerMessages();
    int pendingWorkerMessages() const;

    std::atomic<int> activations{0};
    std::atomic<int> styleApplied{0};
    std::thread::id guiThread = std::this_thread::get_id();

  private:
    void record(Effect effect);
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Effect> effects_;
    std::vector<std::string> titles_;
    bool hold_ = false;
    bool released_ = false;
    std::uint64_t answered_ = 0;
    int waiting_ = 0;
};

class TestHost {
  public:
    TestHost();
    ~TestHost();

    // Opens a window as an ordinary (non-dialog) window and returns its open instance.
    WindowRef open(std::uint32_t windowId);
    void close(const WindowRef& window);

    void click(const WindowRef& window, std::string_view control);
    void mouseDown(const WindowRef& window, std::string_view control);
    void mouseUp(const WindowRef& window, std::string_view control);
    // Clicks each terminal named in a space-separated list, in order.
    void clickAll(const WindowRef& window, std::string_view names);
    // The learner ticks or unticks the edit-wire check box (`选择框`).
    void setRemoveMode(const WindowRef& window, bool on);

    bool visible(const WindowRef& window, std::string_view control);
    std::int32_t integer(const WindowRef& window, std::string_view control, int prop);
    std::string caption(const WindowRef& window, std::string_view control);  // UTF-8
    std::string tag(const WindowRef& window, std::string_view control);      // UTF-8
    media::Role picture(const WindowRef& window, std::string_view control);  // Count: as stored
    bool checked(const WindowRef& window, std::string_view control);
    // Names (UTF-8) of the wire labels of the window that read visible.
    std::vector<std::string> visibleOf(const WindowRef& window,
                                       const std::vector<std::string>& gbkLabels);

    std::vector<Effect> effects() { return platform.take(); }

    RecordingPlatform platform;
    ex::Exercises exercises;
    std::unique_ptr<Ui> ui;

  private:
    int index(const WindowRef& window, std::string_view control);
};

// The embedded resource, parsed once for all tests.
const form::FormResource& formResource();

}  // namespace wt::test
