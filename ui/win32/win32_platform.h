// The control model on Win32: one top-level FormWindow per open model window, the program's own
// message boxes, the visual style and the sound output. Windows are created, shown and closed on
// the GUI thread; property changes and message boxes may come from any thread and are posted to
// a hidden message window, so that only the GUI thread touches a window.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "ui/layout.h"
#include "ui/pending_updates.h"
#include "ui/ui.h"
#include "ui/win32/pictures.h"
#include "ui/win32/sound.h"
#include "ui/worker_boxes.h"

namespace wt::win32 {

class FormWindow;

class Win32Platform final : public Platform {
  public:
    // Construct on the GUI thread: registers the window classes once.
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // The model whose events the windows fire; set before the first window opens.
    void attach(Ui& ui) { ui_ = &ui; }
    // Window identifier -> title (UTF-8); a window not listed has none.
    void setWindowTitles(std::map<std::uint32_t, std::string> titles);

    void createWindow(const WindowRef& window) override;
    void showWindow(const WindowRef& window) override;
    void runModal(const WindowRef& window) override;
    void activateWindow(const WindowRef& window) override;
    void propertyChanged(const WindowRef& window, int index, int prop) override;
    int messageBox(const std::string& textGbk, const std::string& titleGbk, int buttons,
                   bool onGuiThread) override;
    void playSound(MediaRef wave) override;
    void applyVisualStyle(int style) override;
    bool onGuiThread() const override;
    void releaseWaiters() override;

    // Serves the message loop until the last window has closed.
    void run();

    // GUI thread, for the windows.
    HINSTANCE instance() const { return instance_; }
    HICON icon(bool small) const { return small ? smallIcon_ : icon_; }
    PictureCache& pictures() { return pictures_; }
    bool themed() const { return themed_; }
    // The learner (or the program) asked the window to close.
    void windowClosing(FormWindow* window);

  private:
    static LRESULT CALLBACK messageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // One message: false when the loop is to end (WM_QUIT, posted again for the outer loop).
    bool pump();
    FormWindow* windowOf(const WindowRef& window) const;
    void drainUpdates();
    void drainBoxes();
    static bool inputHeld();
    void activateWaitingBoxes();
    // Disables every window of the program but `except`; returns those it disabled.
    std::vector<HWND> disableAll(HWND except);
    void destroy(FormWindow* window);
    void quitIfNoWindows();

    const HINSTANCE instance_;
    const std::thread::id guiThread_;
    HWND messageWindow_ = nullptr;
    HICON icon_ = nullptr, smallIcon_ = nullptr;
    Ui* ui_ = nullptr;
    std::unordered_map<const ModelWindow*, std::unique_ptr<FormWindow>> windows_;
    std::map<std::uint32_t, std::wstring> titles_;
    PictureCache pictures_;
    SoundOutput sound_;
    bool themed_ = false;
    bool quitting_ = false;
    std::vector<HWND> inactiveBoxes_;  // worker boxes to take the keyboard once input lets go

    // Filled by other threads, drained on the GUI thread.
    PendingUpdates updates_;  // filled by other threads, drained on the GUI thread
    WorkerBoxes<HWND> workerBoxes_;
};

}  // namespace wt::win32
