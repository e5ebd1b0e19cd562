// The widgets that show a model window and its controls. A FormWindow builds one widget per
// control record, in stored order (later records lie above earlier ones), inside the window or
// inside the picture box that contains the control. Widgets only show the model: every update
// reads the control's current state from the ModelWindow, and the learner's input goes back to
// the model as events (Ui::fire) or, for a check box, as ModelWindow::userSetChecked.
#pragma once

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QMovie>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <future>
#include <vector>

#include "ui/colour.h"
#include "ui/qt/scaling.h"
#include "ui/ui.h"

class QEventLoop;

namespace wt::qt {

class QtPlatform;

// The font of a control record: LOGFONT height as pixel size (times `scale`), weight, the stored
// face with CJK fallbacks.
QFont fontFor(const form::FontRecord& font, double scale = 1.0);
// 0x00BBGGRR as stored in records and properties.
QColor colorFor(std::uint32_t bgr);
// colour::contrastRatio (ui/colour.h) for Qt's colours.
double contrastRatio(QColor a, QColor b);
constexpr double kLegibleContrast = colour::kLegibleContrast;
// `font`, made smaller where needed until `text` fits in `room` on one line.
QFont captionFont(const QFont& font, const QString& text, QSize room);

// A label with a caption: filled with its back colour, text wrapped at the label's width.
class TextLabel : public QWidget {
  public:
    TextLabel(const form::ControlRecord& record, QWidget* parent);
    void setCaption(const QString& caption);
    void setTextColor(QColor color);
    const QString& caption() const { return caption_; }
    QColor textColor() const { return color_; }
    // The colour of the outline drawn around the text; invalid when the text needs none.
    QColor outline() const;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString caption_;
    QColor color_;
    QColor back_;
};

// A wire segment: a thin bar in its three colours, edge, middle stripe, edge, across its
// thickness. No caption is drawn.
class WireBar : public QWidget {
  public:
    WireBar(const form::ControlRecord& record, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QColor edge1_, middle_, edge2_;
};

// A picture box: a still picture scaled to the box, or an animated GIF played by the box. Both
// are made at the box's size in device pixels, again whenever the box changes size.
class PictureBox : public QWidget {
  public:
    PictureBox(QtPlatform& platform, QWidget* parent);
    // Shows the file (PNG or GIF). A file that is not a valid PNG or GIF leaves the box as it
    // was and returns false. A GIF starts from its first frame every time it is set.
    bool setPicture(std::span<const std::uint8_t> file);
    bool animating() const { return movie_ != nullptr; }
    QMovie* movie() const { return movie_; }
    const QPixmap& still() const { return still_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    void stopMovie();

    QtPlatform& platform_;
    std::span<const std::uint8_t> file_;
    QSize made_;  // the box's size when the picture was made
    QPixmap still_;
    QMovie* movie_ = nullptr;
    QBuffer* buffer_ = nullptr;
};

class FormWindow : public QWidget {
    Q_OBJECT
  public:
    // The window of `model` with all its controls, ready to show.
    FormWindow(QtPlatform& platform, Ui& ui, WindowRef model);
    // A window of `block` made ahead, while the learner is about to open it: placed at the size
    // it will open at, with its native window and its backing store made and mapped in, but no
    // controls and no model until `adopt`. Never shown before that.
    FormWindow(QtPlatform& platform, const form::WindowBlock& block);
    ~FormWindow() override;
    // Builds the controls of `model`, whose block is this window's, into a window made ahead.
    void adopt(Ui& ui, WindowRef model);
    // Blocks until the backing store of a window made ahead is mapped in (tests, benchmarks).
    void finishPreparing() const {
        if (populated_.valid()) populated_.wait();
    }

    const form::WindowBlock& block() const { return block_; }
    // Null while the window is made ahead.
    const WindowRef& model() const { return model_; }
    // The widget of control `index` (null for the window record or an unknown index).
    QWidget* control(int index) const;
    QWidget* control(const QString& name) const;
    // Brings the widget of control `index` up to date with the model's value of `prop`.
    void apply(int index, int prop);
    // Forwards a learner's action on control `index` to the model.
    void fire(int index, std::int32_t event, int x = 0, int y = 0, int keys = 0);
    bool binds(int index, std::int32_t event) const;

    // Shows the window at its stored size at 50, 50, or smaller where the screen's available
    // area cannot take that size with the window manager's frame.
    void showPlaced();
    // Where and at what size the window opens on its screen now.
    Placement placement() const;
    // How the stored layout is drawn in the present client area.
    const ContentFit& fit() const { return fit_; }
    QSize storedSize() const { return stored_; }

    // Dialog mode: the nested loop that waits for this window to close.
    void setModalLoop(QEventLoop* loop) { modalLoop_ = loop; }
    QEventLoop* modalLoop() const { return modalLoop_; }
    bool closed() const { return closed_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent*) override;
    void moveEvent(QMoveEvent*) override;

  private:
    void placeForOpening();
    // Returns the pixel format of the backing store.
    QImage::Format prepareBackingStore();
    void prepareText(QImage::Format format);
    void relayout();
    QPixmap scaledBackground();
    void place();
    QWidget* makeControl(int index, const ControlState& state, QWidget* parent, const QRect& at);

    QtPlatform& platform_;
    const form::WindowBlock& block_;
    Ui* ui_ = nullptr;
    WindowRef model_;
    QPixmap background_;
    QSize stored_;
    ContentFit fit_;
    QRect content_;                   // where the background lies in the client area
    QMargins frameSeen_;              // the frame the last placement allowed for
    bool placed_ = false;             // shown by showPlaced
    bool exposureWatched_ = false;    // repeated first exposures dropped (dropRepeatedExposure)
    std::vector<QWidget*> controls_;  // by record index; [0] unused
    QEventLoop* modalLoop_ = nullptr;
    bool closed_ = false;
    std::future<void> populated_;  // the backing store's pages being mapped in
};

}  // namespace wt::qt
