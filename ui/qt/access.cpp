#include "ui/qt/access.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "ui/focus.h"
#include "ui/qt/controls.h"
#include "ui/qt/focus_mark.h"

namespace wt::qt::access {
namespace {

constexpr char kBaseDescription[] = "wtDescription";
constexpr char kAnnounced[] = "wtAnnounced";

bool activationKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A status or prompt text: read as static text whose name is the caption on show.
class LabelAccessible : public QAccessibleWidget {
  public:
    explicit LabelAccessible(TextLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString caption = static_cast<TextLabel*>(widget())->caption();
            if (!caption.isEmpty()) return caption;
        }
        return QAccessibleWidget::text(t);
    }
};

// A model window: a frame named by its title, so that a screen reader announces it as it opens;
// the menu, which has no title of its own, by the program's name.
class WindowAccessible : public QAccessibleWidget {
  public:
    explicit WindowAccessible(FormWindow* window)
        : QAccessibleWidget(window, QAccessible::Window) {}
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return QGuiApplication::applicationDisplayName();
        return own;
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* label = dynamic_cast<TextLabel*>(object)) return new LabelAccessible(label);
    if (auto* window = qobject_cast<FormWindow*>(object)) return new WindowAccessible(window);
    return nullptr;
}

// Which the learner used last, a key or a mouse button: a window that opens or comes back after
// a key shows the focus mark at once, one opened by a click does not.
class InputWatch : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                setKeysInUse(true);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                setKeysInUse(false);
                break;
            default:
                break;
        }
        return false;
    }
};

// The stops of one window with their widgets, for the arrow keys.
class StopMap : public QObject {
  public:
    StopMap(FormWindow& window, std::vector<focus::Stop> stops)
        : QObject(&window), window_(window), stops_(std::move(stops)) {}

    // The control that arrow `key` moves to from control `index`; null when there is none.
    QWidget* next(int index, int key) const {
        // Only what the learner can reach now: hidden or disabled controls are passed over.
        std::vector<focus::Stop> reachable;
        for (const focus::Stop& stop : stops_)
            if (QWidget* w = window_.control(stop.index);
                w != nullptr && w->isVisibleTo(&window_) && w->isEnabled())
                reachable.push_back(stop);
        const int from = focus::stopOf(reachable, index);
        const int to = focus::nearest(reachable, from, direction(key));
        return to == from || to < 0 ? nullptr : window_.control(reachable[to].index);
    }

    static bool arrow(int key) {
        return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
               key == Qt::Key_Down;
    }

  private:
    static focus::Direction direction(int key) {
        switch (key) {
            case Qt::Key_Left:
                return focus::Direction::Left;
            case Qt::Key_Right:
                return focus::Direction::Right;
            case Qt::Key_Up:
                return focus::Direction::Up;
            default:
                return focus::Direction::Down;
        }
    }

    FormWindow& window_;
    const std::vector<focus::Stop> stops_;
};

// Turns keys on one control into the events the mouse would send. Space, Enter and Return act
// alike: on a button the press is the mouse going down and the release the mouse coming up and
// the click; on the power switch's click area the press is its mouseDown. Auto-repeat is
// swallowed, so a held key is one press and one release. The arrow keys move the focus to the
// nearest control that way (focus::nearest). Any key, and focus gained by Tab or an arrow, shows
// the focus mark; a mouse press hides it.
//
// X repeats a held key as release/press pairs with one timestamp, and Qt flags them as
// auto-repeat only when it finds both halves queued together; under load it often does not. So
// a press stamped like the last release is a repeat too, and a release acts only after a short
// grace in which the press of its pair may still come. A key held down when a window closes (its
// release went to the closed window) then keeps repeating into the focused control harmlessly.
class KeyBridge : public QObject {
  public:
    KeyBridge(FormWindow& window, const StopMap& stops, int index, QWidget& widget)
        : QObject(&widget),
          window_(window),
          stops_(stops),
          index_(index),
          widget_(widget),
          down_(window.binds(index, form::kEventMouseDown)),
          up_(window.binds(index, form::kEventMouseUp)) {
        widget.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::FocusIn: {
                const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
                if (why == Qt::TabFocusReason || why == Qt::BacktabFocusReason ||
                    why == Qt::ShortcutFocusReason)
                    setKeyboardFocus(widget_, true);
                else if (why == Qt::ActiveWindowFocusReason || why == Qt::OtherFocusReason)
                    // A window opened or returned to: marked when keys brought it there.
                    setKeyboardFocus(widget_, keysInUse());
                else
                    setKeyboardFocus(widget_, false);
                return false;
            }
            case QEvent::FocusOut:
                // A held button lets go when the focus leaves it, as the mouse would; a release
                // still in its grace completes its click.
                if (heldKey_ != 0) release(pending_);
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                setKeyboardFocus(widget_, false);
                return false;
            case QEvent::KeyPress:
                return keyPress(*static_cast<QKeyEvent*>(event));
            case QEvent::KeyRelease:
                return keyRelease(*static_cast<QKeyEvent*>(event));
            default:
                return false;
        }
    }

  private:
    bool keyPress(QKeyEvent& e) {
        setKeyboardFocus(widget_, true);
        if (StopMap::arrow(e.key()) && (e.modifiers() & ~Qt::KeypadModifier) == 0) {
            if (QWidget* next = stops_.next(index_, e.key())) next->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (!activationKey(e.key())) return false;
        auto* box = qobject_cast<QCheckBox*>(&widget_);
        if (box != nullptr && e.key() == Qt::Key_Space) return false;  // the box's own toggle
        if (pending_ && e.key() == heldKey_ && e.timestamp() == pendingTime_) {
            pending_ = false;  // only a repeat: still held
            return true;
        }
        if (repeated(e) || heldKey_ != 0 || (e.modifiers() & ~Qt::KeypadModifier) != 0) return true;
        if (box != nullptr) {
            box->click();
            return true;
        }
        auto* button = qobject_cast<QAbstractButton*>(&widget_);
        if (button == nullptr) {  // the power switch's click area
            window_.fire(index_, form::kEventMouseDown);
            return true;
        }
        heldKey_ = e.key();
        button->setDown(true);
        if (down_) window_.fire(index_, form::kEventMouseDown);
        return true;
    }

    bool keyRelease(QKeyEvent& e) {
        if (!activationKey(e.key())) return false;
        lastReleaseKey_ = e.key();
        lastReleaseTime_ = e.timestamp();
        if (qobject_cast<QCheckBox*>(&widget_) != nullptr) return e.key() != Qt::Key_Space;
        if (!e.isAutoRepeat() && heldKey_ == e.key() && !pending_) {
            pending_ = true;
            pendingTime_ = e.timestamp();
            QTimer::singleShot(kReleaseGraceMs, this, [this] {
                if (pending_) release(true);
            });
        }
        return true;
    }

    // Whether a press is the second half of a repeat pair.
    static bool repeated(const QKeyEvent& e) {
        return e.isAutoRepeat() || (e.timestamp() != 0 && e.key() == lastReleaseKey_ &&
                                    e.timestamp() == lastReleaseTime_);
    }

    void release(bool click) {
        auto* button = qobject_cast<QAbstractButton*>(&widget_);
        heldKey_ = 0;
        pending_ = false;
        QPointer<QWidget> self(&widget_);
        if (up_) window_.fire(index_, form::kEventMouseUp);
        if (!self || button == nullptr) return;
        button->setDown(false);
        // click() emits clicked, which the window forwards to the model when it is bound; a
        // menu button's click may run a nested loop until its exercise window closes.
        if (click) button->click();
    }

    FormWindow& window_;
    const StopMap& stops_;
    const int index_;
    QWidget& widget_;
    const bool down_, up_;
    int heldKey_ = 0;
    bool pending_ = false;  // a release waits out its grace
    std::uint64_t pendingTime_ = 0;

    static constexpr int kReleaseGraceMs = 30;
    // One keyboard: the last release of an activation key, whichever control it reached.
    static inline int lastReleaseKey_ = 0;
    static inline std::uint64_t lastReleaseTime_ = 0;
};

}  // namespace

void install() {
    QAccessible::installFactory(factory);  // a second call changes nothing
    static QPointer<InputWatch> watch;
    if (!watch && qApp != nullptr) {
        watch = new InputWatch;
        watch->setParent(qApp);
        qApp->installEventFilter(watch);
    }
}

void equip(FormWindow& window) {
    const WindowRef& model = window.model();
    QWidget* previous = nullptr;
    auto* map = new StopMap(window, focus::stops(model->block()));
    for (const focus::Stop& stop : focus::stops(model->block())) {
        QWidget* w = window.control(stop.index);
        if (w == nullptr) continue;
        w->setAccessibleName(QString::fromStdString(stop.spoken));
        const QString description = QString::fromStdString(stop.description);
        w->setAccessibleDescription(description);
        w->setProperty(kBaseDescription, description);
        if (!description.isEmpty()) w->setToolTip(description);
        if (model->block().records[stop.index].kind == form::Kind::TransparentLabel)
            w->setFocusPolicy(Qt::StrongFocus);
        // Looks as if it acts: a hand over it, and the hover cue its paintEvent draws.
        w->setCursor(Qt::PointingHandCursor);
        w->setAttribute(Qt::WA_Hover);
        new KeyBridge(window, *map, stop.index, *w);
        if (previous != nullptr) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void captionChanged(QWidget& label) {
    QAccessibleEvent event(&label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

QString announcement(const QStringList& connected, const QStringList& removed) {
    QStringList parts;
    if (!connected.isEmpty())
        parts << QStringLiteral("已连接：") + connected.join(QStringLiteral("、"));
    if (!removed.isEmpty())
        parts << QStringLiteral("已拆除：") + removed.join(QStringLiteral("、"));
    return parts.join(QStringLiteral("；"));
}

WireWatch::WireWatch(FormWindow& window, int index, std::int32_t event)
    : window_(&window), index_(index) {
    if (event != form::kEventClicked) return;
    const std::size_t n = window.model()->size();
    bool any = false;
    std::vector<bool> shown(n, false);
    for (std::size_t i = 1; i < n; ++i)
        if (auto* bar = dynamic_cast<WireBar*>(window.control(static_cast<int>(i)))) {
            shown[i] = !bar->isHidden();
            any = true;
        }
    if (any) shown_ = std::move(shown);
}

WireWatch::~WireWatch() {
    if (shown_.empty() || !window_ || window_->closed()) return;
    QStringList connected, removed;
    for (std::size_t i = 1; i < shown_.size(); ++i) {
        QWidget* bar = window_->control(static_cast<int>(i));
        if (bar == nullptr || !dynamic_cast<WireBar*>(bar) || shown_[i] == !bar->isHidden())
            continue;
        (shown_[i] ? removed : connected) << bar->objectName();
    }
    if (connected.isEmpty() && removed.isEmpty()) return;
    QWidget* terminal = window_->control(index_);
    if (terminal == nullptr) return;
    // Only the latest change is told: the terminal told before gets its plain description back.
    if (auto* before = qobject_cast<QWidget*>(window_->property(kAnnounced).value<QObject*>());
        before != nullptr && before != terminal)
        before->setAccessibleDescription(before->property(kBaseDescription).toString());
    const QString base = terminal->property(kBaseDescription).toString();
    const QString news = announcement(connected, removed);
    terminal->setAccessibleDescription(base.isEmpty() ? news : base + QStringLiteral("。") + news);
    window_->setProperty(kAnnounced, QVariant::fromValue<QObject*>(terminal));
}

}  // namespace wt::qt::access
