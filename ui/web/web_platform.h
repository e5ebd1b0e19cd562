// The browser binding of the window and control model. Each model window becomes a set of page
// elements built by the page script (page.js); the model reaches the page through a handful of
// calls that carry a window's description or one control's state as JSON, and the page reports
// the learner's actions back through the exported wt_web_* functions.
//
// The page has a single thread. A press that the desktop hands to a start thread runs to its end
// at once; a message box is drawn over the whole page, which refuses input until "确定", while
// the sequence that showed it has already ended (every sequence ends with its box). Dialog mode
// marks the menu inert until the exercise window closes; a visual style requested meanwhile
// takes effect at that moment, as it would after the desktop's nested loop returns.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ui/ui.h"
#include "ui/web/describe.h"

namespace wt::web {

class WebPlatform : public Platform {
  public:
    void attach(Ui& ui) { ui_ = &ui; }
    // The text of a window's title bar (the forms store none).
    void setTitle(std::uint32_t windowId, std::string utf8) { titles_[windowId] = std::move(utf8); }

    void createWindow(const WindowRef& window) override;
    void showWindow(const WindowRef& window) override;
    void runModal(const WindowRef& window) override;
    void activateWindow(const WindowRef& window) override;
    void propertyChanged(const WindowRef& window, int index, int prop) override;
    int messageBox(const std::string& textGbk, const std::string& titleGbk, int buttons,
                   bool onGuiThread) override;
    void playSound(MediaRef wave) override;
    void applyVisualStyle(int style) override;
    bool onGuiThread() const override { return true; }
    bool threadsAvailable() const override { return false; }

    // --- From the page ----------------------------------------------------------------------
    void fire(std::uint64_t serial, int index, std::int32_t event, int x, int y, int keys);
    void userChecked(std::uint64_t serial, int index, bool checked);
    void close(std::uint64_t serial);

    WindowRef window(std::uint64_t serial) const;
    std::size_t openWindows() const { return windows_.size(); }

  private:
    Ui* ui_ = nullptr;
    std::map<std::uint64_t, WindowRef> windows_;
    std::uint64_t modal_ = 0;  // serial of the window in dialog mode, 0 for none
    int pendingStyle_ = 0;
    std::map<std::uint32_t, std::string> titles_;
};

}  // namespace wt::web
