// The window and control model on which all exercise logic works. A window is built from its
// WindowBlock; every control keeps its property values here, under the window's lock, so that a
// read right after a write returns the new value on every thread. The screen is a view of this
// model: after each change the model tells the Platform, which redraws on the GUI thread.
//
// Handlers act only through the eight operations of `Ui`. Those may be called from the GUI thread
// and from threads made by `startThread`; each call is carried out whole. Operations on a window
// that has been closed do nothing and read 0.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <variant>
#include <vector>

#include "resources/form_reader.h"
#include "resources/media_blob.h"
#include "ui/properties.h"

namespace wt {

using Value = std::variant<std::int32_t, std::string, MediaRef>;

class Ui;
class ModelWindow;
using WindowRef = std::shared_ptr<ModelWindow>;

// What a handler receives: the model, its own window and, for mouseDown/mouseUp, the pointer
// position relative to the control and the key mask (1 Ctrl, 2 Shift, 4 Alt).
struct HandlerCall {
    Ui& ui;
    WindowRef window;
    int x = 0, y = 0, keys = 0;
};
using Handler = std::function<void(const HandlerCall&)>;

// Handlers by name ("<Window>.<control>.<event>" or "<Window>.created", UTF-8), as the form
// compiler names the bindings.
class HandlerRegistry {
  public:
    void add(std::string name, Handler handler);
    const Handler* find(std::string_view name) const;
    // The table in handler-number order for a list of names; names without a handler are
    // appended to `missing` and get an empty slot.
    std::vector<Handler> resolve(std::span<const char* const> names,
                                 std::vector<std::string>* missing) const;

  private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

// Property values of one control (index 0 is the window itself).
struct ControlState {
    const form::ControlRecord* record = nullptr;
    int parent = -1;  // index of the containing picture box, -1 for the window
    bool visible = true;
    std::string caption;  // GBK
    std::int32_t textColor = 0;
    MediaRef picture;  // empty: the picture stored in the record
    bool checked = false;
    std::string tag;  // GBK
};

class ModelWindow {
  public:
    ModelWindow(const form::WindowBlock& block, std::uint64_t serial);

    std::uint32_t id() const { return block_.windowId; }
    const form::WindowBlock& block() const { return block_; }
    // Distinguishes one opening of a window from the next.
    std::uint64_t serial() const { return serial_; }
    std::size_t size() const { return controls_.size(); }
    int indexOf(std::string_view nameGbk) const;  // -1 when there is no such control

    bool isOpen() const;
    ControlState state(int index) const;  // a copy, taken under the lock
    // 1 when the control and every container up to the window are shown, else 0.
    bool shown(int index) const;
    // Whether the form binds a handler to event `event` of control `index`.
    bool binds(int index, std::int32_t event) const;
    // The learner ticked or unticked a check box (no event fires).
    void userSetChecked(int index, bool checked);

  private:
    friend class Ui;
    bool shownLocked(int index) const;

    const form::WindowBlock& block_;
    const std::uint64_t serial_;
    std::unordered_map<std::string, int> byName_;
    mutable std::mutex mutex_;
    std::vector<ControlState> controls_;
    bool open_ = true;
};

// What the model needs from the desktop (or from a headless test host).
class Platform {
  public:
    virtual ~Platform() = default;
    // GUI thread: build the screen objects of a new window from its model (not shown yet).
    virtual void createWindow(const WindowRef& window) = 0;
    // GUI thread: show a created window.
    virtual void showWindow(const WindowRef& window) = 0;
    // GUI thread: disable every other window, serve a nested loop until `window` is closed,
    // then enable them again.
    virtual void runModal(const WindowRef& window) = 0;
    // GUI thread: restore or activate a window that is already open.
    virtual void activateWindow(const WindowRef& window) = 0;
    // Any thread, after a property of control `index` changed in the model.
    virtual void propertyChanged(const WindowRef& window, int index, int prop) = 0;
    // Any thread. On the GUI thread the box blocks every window and the caller until OK; on
    // another thread it blocks only that thread. Returns the button pressed.
    virtual int messageBox(const std::string& textGbk, const std::string& titleGbk, int buttons,
                           bool onGuiThread) = 0;
    // Any thread; returns at once, the sound plays on while later calls start others.
    virtual void playSound(MediaRef wave) = 0;
    virtual void applyVisualStyle(int style) = 0;
    virtual bool onGuiThread() const = 0;
    // False on a platform that cannot make threads: startThread then runs the handler to its
    // end on the calling thread before it returns.
    virtual bool threadsAvailable() const { return true; }
    // Program end: every message box a start thread waits on returns at once.
    virtual void releaseWaiters() {}
};

class Ui {
  public:
    Ui(const form::FormResource& forms, Platform& platform, std::vector<Handler> handlers);
    ~Ui();
    Ui(const Ui&) = delete;
    Ui& operator=(const Ui&) = delete;

    // --- The eight operations -------------------------------------------------------------
    // Integer properties read as std::int32_t, text properties as a new GBK copy, the picture
    // as its MediaRef. An unknown control or property, or a closed window, reads 0.
    Value getProperty(const WindowRef& window, std::string_view controlGbk, int prop);
    void setProperty(const WindowRef& window, std::string_view controlGbk, int prop, Value value);
    // Without a title the box is titled "信息：". Without an owner it is modal to the caller's
    // thread. Returns the button pressed.
    int showMessage(std::string_view textGbk, int buttons = 0, const char* titleGbk = nullptr,
                    const WindowRef* owner = nullptr);
    void playSound(MediaRef wave, int repeat = 0);
    // Builds the window from its block, runs its `created` handler, shows it; in dialog mode
    // waits until it has been closed. A window already open is activated instead.
    bool openWindow(std::uint32_t windowId, const WindowRef* owner, bool dialogMode);
    void applyVisualStyle(int style);
    // Runs `handler` once on a new thread with the same window as `call` (on the calling thread,
    // to its end, where the platform has no threads).
    void startThread(Handler handler, const HandlerCall& call);
    void releaseText(std::string& text);

    // --- Conveniences over getProperty ------------------------------------------------------
    std::int32_t getInt(const WindowRef& window, std::string_view controlGbk, int prop);
    std::string getText(const WindowRef& window, std::string_view controlGbk, int prop);

    // --- Entry points for the platform ------------------------------------------------------
    // GUI thread: an event of control `index` (0 = the window's created event).
    void fire(const WindowRef& window, int index, std::int32_t event, int x = 0, int y = 0,
              int keys = 0);
    // GUI thread: the learner (or the program) closed the window.
    void windowClosed(const WindowRef& window);
    WindowRef openInstance(std::uint32_t windowId) const;
    // Program end: message boxes of start threads return at once, every start thread is joined.
    void shutdown();
    bool shuttingDown() const { return shuttingDown_.load(); }
    Platform& platform() { return platform_; }
    const form::FormResource& forms() const { return forms_; }
    bool visualStyleApplied() const { return style_.load() != 0; }

  private:
    const form::FormResource& forms_;
    Platform& platform_;
    std::vector<Handler> handlers_;
    mutable std::mutex openMutex_;
    std::map<std::uint32_t, WindowRef> open_;
    std::uint64_t nextSerial_ = 1;
    std::atomic<int> style_{0};
    std::atomic<bool> shuttingDown_{false};
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex threadsMutex_;
    std::vector<Worker> threads_;
};

}  // namespace wt
