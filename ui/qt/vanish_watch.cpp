#include "ui/qt/vanish_watch.h"

#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QApplication>
#include <QMessageBox>

#include "ui/qt/controls.h"
#include "ui/qt/qt_platform.h"

namespace wt::qt {

VanishWatch::VanishWatch(QtPlatform& platform) : platform_(platform) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

VanishWatch::~VanishWatch() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

bool VanishWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7F;

    if (type == 0) {
        // An error. Requests on a window that is already gone fail; nothing is wrong with us.
        const auto* error = static_cast<const xcb_generic_error_t*>(message);
        const bool stale = error->error_code == XCB_WINDOW || error->error_code == XCB_DRAWABLE ||
                           error->error_code == XCB_MATCH;
        return stale && gone_.count(error->resource_id) != 0;
    }
    if (type != XCB_DESTROY_NOTIFY) return false;

    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        // internalWinId() is 0 for a widget that has no X window yet; it never creates one.
        if (static_cast<std::uint32_t>(widget->internalWinId()) != destroyed->window) continue;
        gone_.insert(destroyed->window);
        if (auto* window = qobject_cast<FormWindow*>(widget))
            platform_.windowVanished(window);
        else if (auto* box = qobject_cast<QMessageBox*>(widget))
            box->reject();  // as if Escape had been pressed: the waiting caller goes on
        return false;
    }
    return false;
}

}  // namespace wt::qt
