#include "ui/qt/expose_filter.h"

#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>
#include <QWindow>

namespace wt::qt {
namespace {

// Qt delivers an exposure of a window already shown as a paint event and, as the widgets leave
// that unhandled, then as an expose event: the region is read from the paint event. After the
// first exposure it sends a paint event for the same region, which is what the first paint
// covered. The batch ends when the event loop next runs its timers.
class RepeatedExposureFilter final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* window = qobject_cast<const QWindow*>(watched);
        const bool drop = pendingDrop_ && event->type() == QEvent::Expose;
        pendingDrop_ = false;
        if (window == nullptr || drop) return drop;
        if (event->type() == QEvent::Expose) {
            if (!exposed_ && window->isExposed()) {
                firstBatch_ = true;
                painted_ = QRegion();
                QTimer::singleShot(0, this, [this] { firstBatch_ = false; });
            }
            exposed_ = window->isExposed();
        } else if (event->type() == QEvent::Paint && firstBatch_) {
            const QRegion& region = static_cast<const QPaintEvent*>(event)->region();
            if (painted_.isEmpty())
                painted_ = region;
            else
                pendingDrop_ = (region - painted_).isEmpty();
        }
        return false;
    }

  private:
    bool exposed_ = false;
    bool firstBatch_ = false;   // until the events read with the first exposure are handled
    QRegion painted_;           // what the first exposure painted
    bool pendingDrop_ = false;  // the next event, if an expose event, repeats the first
};

}  // namespace

void dropRepeatedExposure(QWindow& window) {
    window.installEventFilter(new RepeatedExposureFilter(&window));
}

}  // namespace wt::qt
