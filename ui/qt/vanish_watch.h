// Notices a top-level window of ours whose X window was destroyed by someone else (another
// client's XDestroyWindow, a window manager giving up on it): a model window is reported to the
// platform, which treats it as closed; a message box is answered as if Escape had been pressed.
// Afterwards Qt's own requests on that window fail with BadWindow and the like; those errors are
// expected and kept out of the log.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <unordered_set>

namespace wt::qt {

class QtPlatform;

class VanishWatch final : public QAbstractNativeEventFilter {
  public:
    explicit VanishWatch(QtPlatform& platform);
    ~VanishWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QtPlatform& platform_;
    std::unordered_set<std::uint32_t> gone_;  // X windows destroyed from outside
};

}  // namespace wt::qt
