// The control model on Qt Widgets: one top-level FormWindow per open model window, message boxes,
// the visual style and the sound output. Model windows are created, shown and closed on the GUI
// thread; property changes and message boxes may come from any thread and are carried over to
// the GUI thread, where the widgets are the only thing that touches Qt.
#pragma once

#include <QIcon>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "ui/pending_updates.h"
#include "ui/qt/pictures.h"
#include "ui/qt/sound_output.h"
#include "ui/ui.h"
#include "ui/worker_boxes.h"

class QMessageBox;

namespace wt::qt {

class FormWindow;
class VanishWatch;

// Gives a message box's single button the program's own word for OK, "确定".
void labelOkButton(QMessageBox& box);
// The least width of a message box: its whole title, as the desktop shows it, fits the title bar.
int boxWidth(const QMessageBox& box);

// Start-up look of the program: the classic style and a font that has the Chinese characters.
void installClassicLook();

class QtPlatform final : public QObject, public Platform {
    Q_OBJECT
  public:
    // Construct on the GUI thread, after the QApplication.
    QtPlatform();
    ~QtPlatform() override;

    // The model whose events the widgets fire; set before the first window opens.
    void attach(Ui& ui) { ui_ = &ui; }

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

    // GUI thread.
    FormWindow* windowOf(const WindowRef& window) const;
    std::vector<FormWindow*> windows() const;
    // Message boxes shown for other threads and not yet answered.
    std::vector<QMessageBox*> workerBoxes() const;
    PictureCache& pictures() { return pictures_; }
    SoundOutput& sound() { return sound_; }
    // The window manager's frame around a top-level window as last seen (none until a window
    // has been framed); windows opened later allow for it when they choose their size.
    QMargins frameMargins() const { return frame_; }
    void setFrameMargins(QMargins frame) { frame_ = frame; }
    // The buttons of window `windowId` that open other windows, by control name: while the
    // pointer rests on such a button, or the keyboard focus comes to it, the pictures of the
    // window it opens are prepared at the size that window will open at (PictureCache::warmUp);
    // `stills` are the pictures that the exercises put into picture boxes later. When a window
    // opened in dialog mode closes, what it held is let go, except what the button under the
    // pointer (or with the focus) would open. Set before that window is created.
    void prepareOnApproach(std::uint32_t windowId,
                           std::map<QString, const form::WindowBlock*> opens,
                           std::vector<std::span<const std::uint8_t>> stills);
    // The pictures a first opening of `blocks` asks for on this screen.
    std::vector<PictureCache::Request> openingPictures(
        const std::vector<const form::WindowBlock*>& blocks) const;
    // The window whose pictures are prepared or kept now (null: none).
    const form::WindowBlock* approached() const { return approached_; }
    // That window made ahead (FormWindow's second constructor), until it opens (null: none).
    const FormWindow* ahead() const { return ahead_.get(); }
    // Called by a FormWindow after its paint.
    void windowPainted(const FormWindow& window);
    // Read-only data of the executable (the forms, the media) whose pages are released now, and
    // again once a newly created window has been drawn, after it read what it shows from them
    // (resources/resident.h); the fonts' pages and the cache's decoded pictures go then too.
    void releaseAfterPainting(std::vector<std::span<const std::uint8_t>> areas);
    // When the last window closes, the application's event loop is told to quit (default on).
    void setQuitOnLastWindow(bool quit) { quitOnLastWindow_ = quit; }

    // Titles of windows by window identifier; a window not listed has no title of its own, so
    // the desktop shows the program's name. Set before the windows open.
    void setWindowTitles(std::map<std::uint32_t, QString> titles) { titles_ = std::move(titles); }
    // Icons of windows by window identifier; a window not listed carries the application's.
    void setWindowIcons(std::map<std::uint32_t, QIcon> icons) { icons_ = std::move(icons); }

    // Called by a FormWindow whose close the learner (or the program) asked for.
    void windowClosing(FormWindow* window);
    // The window's screen object was destroyed from outside the program: it counts as closed,
    // even while another window is open in dialog mode.
    void windowVanished(FormWindow* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void approach(const form::WindowBlock* block);
    // Gives a new window the title and icon of window `id`.
    void dress(FormWindow& window, std::uint32_t id) const;
    // Releases the pages of `releasable_` and of the fonts, and the cache's decoded pictures.
    void releaseWhatWasRead();
    // Lets the windows that a dialog-mode window disabled repaint (greyed) again.
    void showHeldBack();
    const form::WindowBlock* underPointerOrFocus() const;
    Q_INVOKABLE void drainUpdates();
    Q_INVOKABLE void drainBoxes();
    void applyNow(const WindowRef& window, int index, int prop);
    void requireGuiThread(const char* what) const;
    void forget(FormWindow* window);

    const std::thread::id guiThread_;
    Ui* ui_ = nullptr;
    std::unordered_map<const ModelWindow*, QPointer<FormWindow>> windows_;
    PictureCache pictures_;
    SoundOutput sound_;
    bool quitOnLastWindow_ = true;
    bool fusion_ = false;
    std::map<std::uint32_t, QString> titles_;
    std::map<std::uint32_t, QIcon> icons_;
    std::unique_ptr<VanishWatch> vanishWatch_;
    QMargins frame_;
    std::uint32_t approachWindow_ = 0;
    std::map<QString, const form::WindowBlock*> approachOpens_;
    std::vector<std::pair<QPointer<QWidget>, const form::WindowBlock*>> approachButtons_;
    std::vector<std::span<const std::uint8_t>> stills_;
    const form::WindowBlock* approached_ = nullptr;
    std::unique_ptr<FormWindow> ahead_;  // the approached window, made ahead
    int dialogs_ = 0;                    // windows open in dialog mode
    bool soundPending_ = true;
    std::vector<std::span<const std::uint8_t>> releasable_;
    bool releaseDue_ = false;
    std::vector<QPointer<FormWindow>> heldBack_;  // disabled, not repainted until it has drawn

    PendingUpdates updates_;  // filled by other threads, drained on the GUI thread
    WorkerBoxes<QPointer<QMessageBox>> workerBoxes_;
};

}  // namespace wt::qt
