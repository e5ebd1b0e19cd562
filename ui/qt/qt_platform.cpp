#include "ui/qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "resources/gbk.h"
#include "resources/resident.h"
#include "ui/qt/access.h"
#include "ui/qt/controls.h"
#include "ui/qt/preload.h"
#include "ui/qt/vanish_watch.h"

namespace wt::qt {

namespace {

constexpr int kSoundOpenDelayMs = 500;
// What a new window read in passing is released this long after its first paint: after the event
// loop has waited once, which is when the paint goes out to the window system.
constexpr int kReleaseDelayMs = 50;

// The fonts are files that the font engine maps into the process and reads a glyph at a time; the
// system maps whole neighbourhoods of the file around every glyph read, several megabytes of a
// CJK font for the few hundred glyphs the windows show, all counted as the program's memory.
// Read-only private mappings of font files are released like the program's own embedded data
// (resources/resident.h): a glyph read later maps its page in again from the system's cache.
void releaseFontPages() {
#ifdef __linux__
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (maps == nullptr) return;
    char line[4096];
    while (std::fgets(line, sizeof line, maps) != nullptr) {
        unsigned long begin = 0, end = 0;
        char perms[5] = {};
        int path = 0;
        if (std::sscanf(line, "%lx-%lx %4s %*s %*s %*s %n", &begin, &end, perms, &path) < 3 ||
            path == 0 || std::strcmp(perms, "r--p") != 0)
            continue;
        std::string_view file(line + path);
        while (!file.empty() && (file.back() == '\n' || file.back() == ' ')) file.remove_suffix(1);
        std::string ending(file.substr(file.size() < 4 ? 0 : file.size() - 4));
        for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ending == ".ttf" || ending == ".ttc" || ending == ".otf" || ending == ".otc")
            releasePages({reinterpret_cast<const std::uint8_t*>(begin), end - begin});
    }
    std::fclose(maps);
#endif
}

constexpr int kButtonOk = 1;

QString boxText(const std::string& gbk) {
    QString text = QString::fromStdString(utf8(gbk));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QString boxTitle(const std::string& gbk) {
    return gbk.empty() ? QStringLiteral("信息：") : boxText(gbk);
}

// A message box as the desktop shows a dialog: a title bar with a close button only, and wide
// enough that the whole title shows there, the program's name that the desktop appends included.
void dressBox(QMessageBox& box) {
    labelOkButton(box);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    box.setMinimumWidth(0);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    // QMessageBox sizes itself from its layout alone: a spacer across it sets the least width.
    grid->addItem(new QSpacerItem(boxWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

int boxWidth(const QMessageBox& box) {
    QString title = box.windowTitle();
    if (const QString name = QGuiApplication::applicationDisplayName(); !name.isEmpty())
        title += QStringLiteral(" \u2014 ") + name;
    // The title bar's font is the desktop's own: allow a quarter more than ours, and room for
    // the icon and the close button on either side.
    const int text = box.fontMetrics().horizontalAdvance(title);
    return text + text / 4 + 4 * box.fontMetrics().height();
}

void labelOkButton(QMessageBox& box) {
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("确定"));
}

void installClassicLook() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);
}

QtPlatform::QtPlatform() : guiThread_(std::this_thread::get_id()) {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        vanishWatch_ = std::make_unique<VanishWatch>(*this);
    access::install();
}

QtPlatform::~QtPlatform() {
    ahead_.reset();
    vanishWatch_.reset();
    releaseWaiters();
    for (auto& [model, window] : windows_) delete window.data();
    windows_.clear();
}

bool QtPlatform::onGuiThread() const {
    return std::this_thread::get_id() == guiThread_;
}

void QtPlatform::requireGuiThread(const char* what) const {
    // Widgets touched from another thread corrupt Qt silently (and TSan cannot see into Qt):
    // stop at the first such call instead.
    if (onGuiThread()) return;
    std::fprintf(stderr, "wiring-trainer: %s called off the GUI thread\n", what);
    std::abort();
}

void QtPlatform::createWindow(const WindowRef& window) {
    requireGuiThread("createWindow");
    if (ui_ == nullptr || !window) return;
    FormWindow* w = nullptr;
    if (ahead_ != nullptr && &ahead_->block() == &window->block()) {
        w = ahead_.release();
        w->adopt(*ui_, window);
    } else {
        w = new FormWindow(*this, *ui_, window);
        dress(*w, window->id());
    }
    windows_[window.get()] = w;
    releaseDue_ = true;
    if (window->id() != approachWindow_) return;
    for (const auto& [name, block] : approachOpens_)
        if (QWidget* button = w->control(name)) {
            button->installEventFilter(this);
            approachButtons_.emplace_back(button, block);
        }
}

void QtPlatform::dress(FormWindow& window, std::uint32_t id) const {
    if (auto title = titles_.find(id); title != titles_.end()) window.setWindowTitle(title->second);
    if (auto icon = icons_.find(id); icon != icons_.end()) window.setWindowIcon(icon->second);
}

FormWindow* QtPlatform::windowOf(const WindowRef& window) const {
    requireGuiThread("windowOf");
    auto it = windows_.find(window.get());
    return it == windows_.end() ? nullptr : it->second.data();
}

std::vector<FormWindow*> QtPlatform::windows() const {
    std::vector<FormWindow*> all;
    for (const auto& [model, window] : windows_)
        if (window) all.push_back(window);
    return all;
}

void QtPlatform::showWindow(const WindowRef& window) {
    if (FormWindow* w = windowOf(window)) w->showPlaced();
}

void QtPlatform::activateWindow(const WindowRef& window) {
    FormWindow* w = windowOf(window);
    if (w == nullptr) return;
    if (w->isMinimized()) w->showNormal();
    w->raise();
    w->activateWindow();
}

void QtPlatform::runModal(const WindowRef& window) {
    FormWindow* w = windowOf(window);
    if (w == nullptr) return;
    std::vector<QPointer<FormWindow>> disabled;
    // Disabling a window takes its focus: the control that had it (the menu button that opened
    // this window) gets it back when the window closes, so that Space opens the same again.
    std::vector<QPointer<QWidget>> focused;
    for (FormWindow* other : windows())
        if (other != w && other->isEnabled()) {
            focused.emplace_back(other->focusWidget());
            // Greyed once the new window is on screen: repainting the whole window underneath
            // first would hold back the new window's first paint by as long again.
            other->setUpdatesEnabled(false);
            heldBack_.emplace_back(other);
            other->setEnabled(false);
            disabled.emplace_back(other);
        }
    QPointer<FormWindow> guard(w);
    ++dialogs_;
    if (!w->closed()) {
        QEventLoop loop;
        w->setModalLoop(&loop);
        loop.exec(QEventLoop::DialogExec);
        if (guard) guard->setModalLoop(nullptr);
    }
    if (ui_ != nullptr) ui_->windowClosed(window);
    if (guard) {
        guard->hide();
        forget(guard);
        delete guard.data();
    }
    showHeldBack();
    for (const QPointer<FormWindow>& other : disabled)
        if (other) other->setEnabled(true);
    for (const QPointer<QWidget>& control : focused)
        if (control && control->isEnabled() && control->isVisible())
            control->setFocus(Qt::OtherFocusReason);
    // Focus given back while the window still counts as open prepares nothing by itself.
    --dialogs_;
    // What the closed window held goes, unless the learner is about to open it again.
    approached_ = nullptr;
    approach(underPointerOrFocus());
    // The windows underneath may have vanished meanwhile; with none left the program ends.
    if (quitOnLastWindow_ && windows().empty()) QCoreApplication::quit();
}

void QtPlatform::windowClosing(FormWindow* window) {
    // A window made ahead is never shown; should its native window go, so does it.
    if (window == ahead_.get()) {
        ahead_.release()->deleteLater();
        return;
    }
    // A dialog-mode window is torn down by runModal once its loop has returned.
    if (QEventLoop* loop = window->modalLoop()) {
        loop->quit();
        return;
    }
    if (ui_ != nullptr) ui_->windowClosed(window->model());
    forget(window);
    window->deleteLater();
    if (quitOnLastWindow_ && windows().empty()) QCoreApplication::quit();
}

void QtPlatform::windowVanished(FormWindow* window) {
    // Not spontaneous, so a window disabled by dialog mode accepts it too.
    if (!window->closed()) window->close();
}

void QtPlatform::forget(FormWindow* window) {
    for (auto it = windows_.begin(); it != windows_.end(); ++it)
        if (it->second == window) {
            windows_.erase(it);
            return;
        }
}

// --- Pictures ahead of time -------------------------------------------------------------

std::vector<PictureCache::Request> QtPlatform::openingPictures(
    const std::vector<const form::WindowBlock*>& blocks) const {
    // The same choice of size that FormWindow::showPlaced makes.
    QScreen* screen = QGuiApplication::screenAt(QPoint(50, 50));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    std::vector<PictureCache::Request> all;
    for (const form::WindowBlock* block : blocks) {
        if (block == nullptr || block->records.empty()) continue;
        const form::Geometry& g = block->window().geometry;
        const QSize stored(std::max(1, g.width), std::max(1, g.height));
        const QRect available =
            screen != nullptr ? screen->availableGeometry() : QRect(QPoint(), stored * 2);
        const Placement at = placeWindow(stored, frame_, available);
        const qreal dpr = screen != nullptr ? screen->devicePixelRatio() : 1.0;
        auto some = windowPictures(*block, fitContent(stored, at.client), dpr, stills_);
        all.insert(all.end(), some.begin(), some.end());
    }
    return all;
}

void QtPlatform::prepareOnApproach(std::uint32_t windowId,
                                   std::map<QString, const form::WindowBlock*> opens,
                                   std::vector<std::span<const std::uint8_t>> stills) {
    approachWindow_ = windowId;
    approachOpens_ = std::move(opens);
    stills_ = std::move(stills);
}

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
    bool near = event->type() == QEvent::Enter;
    if (event->type() == QEvent::FocusIn) {
        // Focus that the learner moved, not the focus a window takes back when it is activated.
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        near = why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason;
    }
    // While a window is open in dialog mode, the pointer crossing the disabled menu means nothing.
    if (near && dialogs_ == 0)
        for (const auto& [button, block] : approachButtons_)
            if (button == watched) {
                approach(block);
                break;
            }
    return QObject::eventFilter(watched, event);
}

void QtPlatform::approach(const form::WindowBlock* block) {
    if (block == approached_ && block != nullptr) return;
    approached_ = block;
    std::vector<PictureCache::Request> soon;
    if (block != nullptr) soon = openingPictures({block});
    pictures_.trim(soon);
    pictures_.warmUp(std::move(soon));
    // The window itself, made ahead: a click then spends nothing on the native window and the
    // memory the first paint writes into.
    if (ahead_ != nullptr && (block == nullptr || &ahead_->block() != block ||
                              ahead_->size() != ahead_->placement().client))
        ahead_.reset();
    if (block != nullptr && ahead_ == nullptr && ui_ != nullptr) {
        ahead_ = std::make_unique<FormWindow>(*this, *block);
        dress(*ahead_, block->windowId);
    }
}

const form::WindowBlock* QtPlatform::underPointerOrFocus() const {
    const QPoint pointer = QCursor::pos();
    for (const auto& [button, block] : approachButtons_)
        if (button && button->isVisible() &&
            button->rect().contains(button->mapFromGlobal(pointer)))
            return block;
    for (const auto& [button, block] : approachButtons_)
        if (button && button->window()->focusWidget() == button) return block;
    return nullptr;
}

void QtPlatform::releaseAfterPainting(std::vector<std::span<const std::uint8_t>> areas) {
    releasable_ = std::move(areas);
    releaseWhatWasRead();
}

void QtPlatform::releaseWhatWasRead() {
    for (std::span<const std::uint8_t> area : releasable_) releasePages(area);
    releaseFontPages();
    pictures_.dropDecoded();
}

void QtPlatform::showHeldBack() {
    for (const QPointer<FormWindow>& other : heldBack_)
        if (other) other->setUpdatesEnabled(true);
    heldBack_.clear();
}

void QtPlatform::windowPainted(const FormWindow& window) {
    if (!heldBack_.empty() && window.modalLoop() != nullptr)
        QTimer::singleShot(0, this, [this] { showHeldBack(); });
    // A new window has read its pictures and drawn its text: what that took in passing goes.
    if (releaseDue_) {
        releaseDue_ = false;
        QTimer::singleShot(kReleaseDelayMs, this, [this] { releaseWhatWasRead(); });
    }
    // The sound output opens once the first window that plays sounds has been drawn (the menu
    // plays none), a moment after that paint, while the learner looks at the window: loading
    // the sound library takes a core for some 30 ms, which the window system needs first to
    // put the paint on screen. A sound played sooner opens it.
    if (!soundPending_ || window.modalLoop() == nullptr) return;
    soundPending_ = false;
    QTimer::singleShot(kSoundOpenDelayMs, this, [this] { sound_.openInBackground(); });
}

// --- Property changes --------------------------------------------------------------------

void QtPlatform::propertyChanged(const WindowRef& window, int index, int prop) {
    if (onGuiThread()) {
        applyNow(window, index, prop);
        return;
    }
    // One queued call carries every update that arrives before it runs.
    if (updates_.add(window, index, prop))
        QMetaObject::invokeMethod(this, "drainUpdates", Qt::QueuedConnection);
}

void QtPlatform::drainUpdates() {
    for (const PendingUpdates::Update& u : updates_.take())
        if (WindowRef window = u.window.lock()) applyNow(window, u.index, u.prop);
}

void QtPlatform::applyNow(const WindowRef& window, int index, int prop) {
    // The widget shows the model's value at this moment, so an update that arrives late only
    // repeats the present state; a window closed meanwhile is left alone.
    if (!window || !window->isOpen()) return;
    if (FormWindow* w = windowOf(window); w != nullptr && !w->closed()) w->apply(index, prop);
}

// --- Message boxes -----------------------------------------------------------------------

int QtPlatform::messageBox(const std::string& textGbk, const std::string& titleGbk, int /*buttons*/,
                           bool /*onGuiThread*/) {
    if (onGuiThread()) {
        // Without a parent, exec() makes the box application-modal: every window of the
        // program refuses input and the caller waits until OK.
        QMessageBox box(QMessageBox::NoIcon, boxTitle(titleGbk), boxText(textGbk), QMessageBox::Ok);
        dressBox(box);
        box.exec();
        return kButtonOk;
    }
    return workerBoxes_.ask(textGbk, titleGbk, kButtonOk, [this] {
        QMetaObject::invokeMethod(this, "drainBoxes", Qt::QueuedConnection);
    });
}

void QtPlatform::drainBoxes() {
    for (const auto& request : workerBoxes_.take()) {
        // Not modal: the windows stay usable while the calling thread waits.
        auto* box = new QMessageBox(QMessageBox::NoIcon, boxTitle(request->titleGbk),
                                    boxText(request->textGbk), QMessageBox::Ok);
        dressBox(*box);
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        request->box = box;
        std::weak_ptr<WorkerBoxes<QPointer<QMessageBox>>::Request> weak = request;
        auto finish = [this, weak] {
            if (auto r = weak.lock()) workerBoxes_.answer(r, kButtonOk);
        };
        connect(box, &QMessageBox::finished, this, finish);
        connect(box, &QObject::destroyed, this, finish);
        box->show();
    }
}

std::vector<QMessageBox*> QtPlatform::workerBoxes() const {
    std::vector<QMessageBox*> boxes;
    for (const auto& request : workerBoxes_.open())
        if (request->box) boxes.push_back(request->box);
    return boxes;
}

void QtPlatform::releaseWaiters() {
    for (const auto& request : workerBoxes_.release(kButtonOk))
        if (onGuiThread() && request->box) request->box->close();
}

// --- Style and sound ---------------------------------------------------------------------

void QtPlatform::applyVisualStyle(int style) {
    requireGuiThread("applyVisualStyle");
    if (style != 1 || fusion_) return;
    fusion_ = true;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void QtPlatform::playSound(MediaRef wave) {
    sound_.play(wave);
}

}  // namespace wt::qt
