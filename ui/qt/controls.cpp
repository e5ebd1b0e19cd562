#include "ui/qt/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBackingStore>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <cstdlib>

#include "resources/gbk.h"
#include "resources/resident.h"
#include "ui/media/gif_info.h"
#include "ui/media/media_kind.h"
#include "ui/qt/access.h"
#include "ui/qt/expose_filter.h"
#include "ui/qt/focus_mark.h"
#include "ui/qt/qt_platform.h"

namespace wt::qt {
namespace {

QString fromGbk(const std::string& gbk) {
    QString text = QString::fromStdString(utf8(gbk));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

// A record's rectangle in stored pixels.
QRect storedRect(const form::Geometry& g) {
    return QRect(g.left, g.top, std::max(0, g.width), std::max(0, g.height));
}

int keyMask(Qt::KeyboardModifiers mods) {
    return (mods & Qt::ControlModifier ? 1 : 0) | (mods & Qt::ShiftModifier ? 2 : 0) |
           (mods & Qt::AltModifier ? 4 : 0);
}

// A button whose press and release reach the model as mouseDown/mouseUp (when bound), in the
// order down, up, clicked.
template <class Base>
class EventButton : public Base {
  public:
    EventButton(FormWindow& window, int index, QWidget* parent)
        : Base(parent),
          window_(window),
          index_(index),
          down_(window.binds(index, form::kEventMouseDown)),
          up_(window.binds(index, form::kEventMouseUp)) {}

  protected:
    void paintEvent(QPaintEvent* e) override {
        Base::paintEvent(e);
        QPainter p(this);
        paintHoverCue(p, *this, this->underMouse());
        paintFocusMark(p, *this);
    }
    void mousePressEvent(QMouseEvent* e) override {
        QPointer<QWidget> self(this);
        Base::mousePressEvent(e);
        if (self && down_ && e->button() == Qt::LeftButton) send(form::kEventMouseDown, e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QPointer<QWidget> self(this);
        if (up_ && e->button() == Qt::LeftButton) send(form::kEventMouseUp, e);
        if (self) Base::mouseReleaseEvent(e);
    }

  private:
    void send(std::int32_t event, QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        window_.fire(index_, event, p.x(), p.y(), keyMask(e->modifiers()));
    }

    FormWindow& window_;
    const int index_;
    const bool down_, up_;
};

// A flat button that is only its picture, scaled to the button; pressed, it sinks by a pixel.
class PictureButton : public QAbstractButton {
  public:
    using QAbstractButton::QAbstractButton;
    void setPicture(PictureCache& cache, std::span<const std::uint8_t> png) {
        cache_ = &cache;
        png_ = png;
        refresh();
    }

  protected:
    void resizeEvent(QResizeEvent* e) override {
        QAbstractButton::resizeEvent(e);
        if (size() != made_) refresh();
    }
    void refresh() {
        if (cache_ == nullptr) return;
        made_ = size();
        pixmap_ = cache_->scaled(png_, size(), devicePixelRatioF());
        update();
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int shift = isDown() ? 1 : 0;
        blitDevicePixels(p, QRectF(QPointF(shift, shift), size()), pixmap_);
    }

  private:
    PictureCache* cache_ = nullptr;
    std::span<const std::uint8_t> png_;
    QSize made_;
    QPixmap pixmap_;
};

// A check box that toggles on a click anywhere in its stored rectangle. Most exercise windows
// store it without a caption, and a plain QCheckBox would then react to its small indicator only.
// The style draws its indicator at a fixed size, so in a window shown smaller than stored the box
// is drawn at its stored size and scaled down with the rest of the content, indicator and
// caption alike; and the caption's font is made smaller where it would not fit even so. So the
// caption is never cut off, whatever the window's size.
class WideCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;
    // The window's content scale (ContentFit::scale), by which the font is already scaled.
    void setScale(double scale) {
        scale_ = scale;
        update();
    }

  protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        QFont caption = font();
        if (scale_ < 1.0 && scale_ > 0.0) {
            p.scale(scale_, scale_);
            option.rect = QRect(0, 0, static_cast<int>(std::lround(width() / scale_)),
                                static_cast<int>(std::lround(height() / scale_)));
            if (caption.pixelSize() > 0)
                caption.setPixelSize(
                    std::max(1, static_cast<int>(std::lround(caption.pixelSize() / scale_))));
            else
                caption.setPointSizeF(caption.pointSizeF() / scale_);
        }
        const QRect room = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
        caption = captionFont(caption, text(), room.size());
        p.setFont(caption);
        option.fontMetrics = QFontMetrics(caption);
        p.drawControl(QStyle::CE_CheckBox, option);
        p.resetTransform();
        paintHoverCue(p, *this, underMouse());
        paintFocusMark(p, *this);
    }

  private:
    double scale_ = 1.0;
};

// The invisible click area: reports the left button going down. Under the mouse or with keyboard
// focus it shows the hover cue over itself and over the switch picture it lies on.
class ClickArea : public QWidget {
  public:
    ClickArea(FormWindow& window, int index, QWidget* parent)
        : QWidget(parent), window_(window), index_(index) {}
    bool lit() const { return underMouse() || (hasFocus() && keyboardFocus(*this)); }

  protected:
    bool event(QEvent* e) override {
        switch (e->type()) {
            case QEvent::HoverEnter:
            case QEvent::HoverLeave:
            case QEvent::Enter:
            case QEvent::Leave:
            case QEvent::FocusIn:
            case QEvent::FocusOut:
            case QEvent::DynamicPropertyChange:  // the keyboard focus flag
                if (parentWidget() != nullptr) parentWidget()->update();
                update();
                break;
            default:
                break;
        }
        return QWidget::event(e);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paintHoverCue(p, *this, lit());
        paintFocusMark(p, *this);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        const QPoint p = e->position().toPoint();
        window_.fire(index_, form::kEventMouseDown, p.x(), p.y(), keyMask(e->modifiers()));
    }

  private:
    FormWindow& window_;
    const int index_;
};

}  // namespace

QFont fontFor(const form::FontRecord& record, double scale) {
    QFont font;
    QStringList families;
    if (!record.faceGbk.empty()) families << QString::fromStdString(utf8(record.faceGbk));
    families << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("WenQuanYi Zen Hei")
             << QStringLiteral("Noto Sans CJK SC");
    font.setFamilies(families);
    // A negative LOGFONT height is the character height; a positive one the cell height, of
    // which the character takes about seven eighths.
    int px = std::abs(record.height);
    if (record.height > 0) px = px * 7 / 8;
    if (px > 0) font.setPixelSize(std::max(1, static_cast<int>(std::lround(px * scale))));
    if (record.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 100, 900)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

QColor colorFor(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

std::uint32_t bgrOf(QColor c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

double contrastRatio(QColor a, QColor b) {
    return colour::contrastRatio(bgrOf(a), bgrOf(b));
}

QFont captionFont(const QFont& font, const QString& text, QSize room) {
    QFont fitted = font;
    for (int step = 0; step < 64; ++step) {
        const QFontMetrics metrics(fitted);
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            break;
        if (fitted.pixelSize() > 0) {
            if (fitted.pixelSize() <= 4) break;
            fitted.setPixelSize(fitted.pixelSize() - 1);
        } else {
            if (fitted.pointSizeF() <= 3.0) break;
            fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
        }
    }
    return fitted;
}

// --- TextLabel -------------------------------------------------------------------------------

TextLabel::TextLabel(const form::ControlRecord& record, QWidget* parent)
    : QWidget(parent), back_(colorFor(record.backColor)) {
    if (record.font) setFont(fontFor(*record.font));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TextLabel::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void TextLabel::setTextColor(QColor color) {
    if (color == color_) return;
    color_ = color;
    update();
}

QColor TextLabel::outline() const {
    const auto around = colour::outlineFor(bgrOf(color_), bgrOf(back_));
    return around ? colorFor(*around) : QColor();
}

void TextLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), back_);
    constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    // The outline: the text drawn once each way around, a pixel off, under the text itself.
    if (const QColor around = outline(); around.isValid() && !caption_.isEmpty()) {
        p.setPen(around);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx != 0 || dy != 0) p.drawText(rect().translated(dx, dy), kFlags, caption_);
    }
    p.setPen(color_);
    p.drawText(rect(), kFlags, caption_);
}

// --- WireBar ---------------------------------------------------------------------------------

WireBar::WireBar(const form::ControlRecord& record, QWidget* parent)
    : QWidget(parent),
      edge1_(colorFor(record.barColors[0])),
      middle_(colorFor(record.barColors[1])),
      edge2_(colorFor(record.barColors[2])) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WireBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool across = width() >= height();  // horizontal bar: stripes run along it
    const int thickness = across ? height() : width();
    const int edge = thickness >= 3 ? std::max(1, thickness / 4) : 0;
    p.fillRect(rect(), middle_);
    if (edge == 0) return;
    if (across) {
        p.fillRect(0, 0, width(), edge, edge1_);
        p.fillRect(0, height() - edge, width(), edge, edge2_);
    } else {
        p.fillRect(0, 0, edge, height(), edge1_);
        p.fillRect(width() - edge, 0, edge, height(), edge2_);
    }
}

// --- PictureBox ------------------------------------------------------------------------------

PictureBox::PictureBox(QtPlatform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {}

bool PictureBox::setPicture(std::span<const std::uint8_t> file) {
    switch (decode::mediaKind(file)) {
        case decode::MediaKind::Png: {
            QPixmap pixmap = platform_.pictures().scaled(file, size(), devicePixelRatioF());
            if (pixmap.isNull()) return false;
            file_ = file;
            made_ = size();
            stopMovie();
            still_ = std::move(pixmap);
            update();
            return true;
        }
        case decode::MediaKind::Gif: {
            if (!decode::inspectGif(file)) return false;
            auto* buffer = new QBuffer(this);
            buffer->setData(QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                                    static_cast<qsizetype>(file.size())));
            buffer->open(QIODevice::ReadOnly);
            auto* movie = new QMovie(buffer, "gif", this);
            if (!movie->isValid()) {
                delete movie;
                delete buffer;
                return false;
            }
            stopMovie();
            file_ = file;
            made_ = size();
            still_ = QPixmap();
            buffer_ = buffer;
            movie_ = movie;
            // Frames are read and scaled straight to device pixels as they are shown, and not
            // kept: a loop of device-sized frames would cost megabytes for every animation, while
            // reading one frame again costs about a millisecond every tenth of a second.
            movie_->setCacheMode(QMovie::CacheNone);
            const qreal dpr = devicePixelRatioF();
            movie_->setScaledSize(QSize(static_cast<int>(std::lround(width() * dpr)),
                                        static_cast<int>(std::lround(height() * dpr))));
            connect(movie_, &QMovie::frameChanged, this, [this] { update(); });
            movie_->start();
            update();
            return true;
        }
        default:
            return false;
    }
}

void PictureBox::stopMovie() {
    if (movie_ == nullptr) return;
    movie_->stop();
    delete movie_;
    delete buffer_;
    movie_ = nullptr;
    buffer_ = nullptr;
}

void PictureBox::resizeEvent(QResizeEvent*) {
    // The frames cached by a playing movie are of the old size: the animation starts again at the
    // new one.
    if (!file_.empty() && size() != made_) setPicture(file_);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (movie_ != nullptr)
        // Frames are device-sized: drawn into the box they map one to one onto the screen.
        blitDevicePixels(p, QRectF(rect()), movie_->currentPixmap());
    else if (!still_.isNull())
        blitDevicePixels(p, QRectF(rect()), still_);
    // The switch picture lights up with the click area that switches it.
    // ClickArea has no meta-object of its own, so findChildren<ClickArea*> would match every
    // child widget: the real type is asked for.
    for (QObject* child : children())
        if (const auto* area = dynamic_cast<const ClickArea*>(child);
            area != nullptr && area->isVisible() && area->lit()) {
            paintHoverCue(p, *this, true);
            break;
        }
}

// --- FormWindow ------------------------------------------------------------------------------

FormWindow::FormWindow(QtPlatform& platform, Ui& ui, WindowRef model)
    : QWidget(nullptr, Qt::Window), platform_(platform), block_(model->block()) {
    placeForOpening();
    adopt(ui, std::move(model));
}

FormWindow::FormWindow(QtPlatform& platform, const form::WindowBlock& block)
    : QWidget(nullptr, Qt::Window), platform_(platform), block_(block) {
    placeForOpening();
    const QImage::Format format = prepareBackingStore();
    prepareText(format);
}

FormWindow::~FormWindow() {
    finishPreparing();
}

void FormWindow::placeForOpening() {
    const form::ControlRecord& own = block_.window();
    stored_ = QSize(std::max(1, own.geometry.width), std::max(1, own.geometry.height));
    setWindowTitle(QString());
    // The learner may resize or maximise the window; the content keeps its proportions.
    setMinimumSize(std::max(1, stored_.width() / 4), std::max(1, stored_.height() / 4));
    // Built at the size it opens at, so that no picture is made at a size never shown.
    const Placement at = placement();
    resize(at.client);
    move(at.framePos);
    setAttribute(Qt::WA_OpaquePaintEvent);
    fit_ = fitContent(stored_, at.client);
}

QImage::Format FormWindow::prepareBackingStore() {
    // A window's first paint writes its whole backing store, fresh shared memory whose every
    // page faults in on its first write: milliseconds for a window of a million pixels, more
    // than twice as many at 150 %. The native window and its backing store are made now, and the
    // pages are mapped in on the picture warm-up's thread once the window's pictures are made:
    // the decoded source of a background, freed by then, and the backing store are not held at
    // once. Mapping pages in changes no byte, so nothing waits for it but the window's end.
    create();
    QBackingStore* store = backingStore();
    if (store == nullptr) return QImage::Format_RGB32;
    // The platform makes its buffer as the first paint begins: an empty paint makes it now.
    store->resize(size());
    store->beginPaint(QRegion());
    const auto* image = dynamic_cast<const QImage*>(store->paintDevice());
    const uchar* bits = image != nullptr ? image->constBits() : nullptr;
    const auto bytes = image != nullptr ? static_cast<std::size_t>(image->sizeInBytes()) : 0;
    const QImage::Format format = image != nullptr ? image->format() : QImage::Format_RGB32;
    store->endPaint();
    if (bits != nullptr && bytes != 0)
        populated_ = platform_.pictures().afterWarmUp([bits, bytes] {
            populatePages({bits, bytes});
        });
    return format;
}

void FormWindow::prepareText(QImage::Format format) {
    // Text is drawn from glyphs rasterized the first time each appears in a font and size, and
    // kept: an exercise window's captions took some 2.5 ms of its first paint that way, against
    // 0.2 ms when opened again. They are drawn once now, at the size and on a surface like the
    // window's, into a scratch picture.
    const qreal dpr = devicePixelRatioF();
    QImage scratch;
    for (std::size_t i = 1; i < block_.records.size(); ++i) {
        const form::ControlRecord& rec = block_.records[i];
        const bool text = rec.kind == form::Kind::Label || rec.kind == form::Kind::CheckBox;
        if (!text || rec.isWireBar() || !rec.font || rec.captionGbk.empty()) continue;
        const QSize room = fit_.map(storedRect(rec.geometry)).size();
        if (room.isEmpty()) continue;
        const QSize device(static_cast<int>(std::ceil(room.width() * dpr)),
                           static_cast<int>(std::ceil(room.height() * dpr)));
        if (scratch.width() < device.width() || scratch.height() < device.height())
            scratch = QImage(device.expandedTo(scratch.size()), format);
        scratch.setDevicePixelRatio(dpr);
        if (rec.kind == form::Kind::CheckBox) {
            // A check box in a window shown smaller than stored draws its caption in a font of
            // its own (WideCheckBox), found by trying sizes: drawn here the same way.
            WideCheckBox box(fromGbk(rec.captionGbk));
            box.setFont(fontFor(*rec.font, fit_.scale));
            box.setScale(fit_.scale);
            box.resize(room);
            box.render(&scratch);
            continue;
        }
        QPainter p(&scratch);
        p.setFont(fontFor(*rec.font, fit_.scale).resolve(font()));
        p.drawText(QRect(QPoint(0, 0), room), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   fromGbk(rec.captionGbk));
    }
}

void FormWindow::adopt(Ui& ui, WindowRef model) {
    ui_ = &ui;
    model_ = std::move(model);
    const std::size_t n = model_->size();
    controls_.assign(n, nullptr);
    for (std::size_t i = 1; i < n; ++i) {
        const ControlState state = model_->state(static_cast<int>(i));
        QWidget* parent = this;
        if (state.parent > 0 && static_cast<std::size_t>(state.parent) < i &&
            controls_[state.parent] != nullptr)
            parent = controls_[state.parent];
        const QRect stored = storedRect(state.record->geometry);
        QWidget* w = makeControl(static_cast<int>(i), state, parent,
                                 parent == this ? fit_.map(stored) : fit_.mapInside(stored));
        if (w == nullptr) continue;
        const QString name = QString::fromStdString(utf8(state.record->nameGbk));
        w->setObjectName(name);
        w->setAccessibleName(name);
        if (!state.visible) w->setVisible(false);
        controls_[i] = w;
    }
    relayout();
    access::equip(*this);
}

void FormWindow::relayout() {
    fit_ = fitContent(stored_, size());
    content_ = fit_.map(QRect(QPoint(0, 0), stored_));
    background_ = scaledBackground();
    const auto& records = block_.records;
    for (std::size_t i = 1; i < controls_.size() && i < records.size(); ++i) {
        QWidget* w = controls_[i];
        if (w == nullptr) continue;
        const form::ControlRecord& rec = records[i];
        const QRect stored = storedRect(rec.geometry);
        w->setGeometry(w->parentWidget() == this ? fit_.map(stored) : fit_.mapInside(stored));
        if (auto* box = dynamic_cast<WideCheckBox*>(w)) box->setScale(fit_.scale);
        if (rec.font) {
            w->setFont(fontFor(*rec.font, fit_.scale));
        } else if (qobject_cast<QAbstractButton*>(w) != nullptr) {
            QFont font = QApplication::font();
            if (font.pixelSize() > 0)
                font.setPixelSize(fit_.fontPixels(font.pixelSize()));
            else
                font.setPointSizeF(font.pointSizeF() * fit_.scale);
            w->setFont(font);
        }
    }
    update();
}

Placement FormWindow::placement() const {
    QScreen* screen = QGuiApplication::screenAt(QPoint(50, 50));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return placeWindow(
        stored_, platform_.frameMargins(),
        screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), stored_ * 2));
}

void FormWindow::place() {
    frameSeen_ = platform_.frameMargins();
    const Placement at = placement();
    if (size() != at.client) resize(at.client);
    move(at.framePos);
}

void FormWindow::showPlaced() {
    place();
    show();
    // The window system answers the show once the event loop runs again: watched from now.
    if (QWindow* handle = windowHandle(); handle != nullptr && !exposureWatched_) {
        dropRepeatedExposure(*handle);
        exposureWatched_ = true;
    }
    // Shown, the window may be moved by the window manager: put it where it belongs.
    place();
    placed_ = true;
}

void FormWindow::resizeEvent(QResizeEvent*) {
    // The first show delivers a resize to the size the window was built at: nothing to redo.
    if (fitContent(stored_, size()) != fit_ || background_.isNull()) relayout();
}

void FormWindow::moveEvent(QMoveEvent*) {
    // The frame is known only once the window manager has put one around the window. Seen for
    // the first time, or other than the placement assumed, it may change what fits.
    if (!placed_ || windowHandle() == nullptr) return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame == frameSeen_ || frame.isNull()) return;
    platform_.setFrameMargins(frame);
    place();
}

QWidget* FormWindow::makeControl(int index, const ControlState& state, QWidget* parent,
                                 const QRect& at) {
    const form::ControlRecord& rec = *state.record;
    const Qt::FocusPolicy focus =
        (rec.stateFlags & form::kStateFocusable) ? Qt::StrongFocus : Qt::NoFocus;
    switch (rec.kind) {
        case form::Kind::Label: {
            if (rec.isWireBar()) return new WireBar(rec, parent);
            auto* label = new TextLabel(rec, parent);
            label->setCaption(fromGbk(state.caption));
            label->setTextColor(colorFor(static_cast<std::uint32_t>(state.textColor)));
            return label;
        }
        case form::Kind::Button: {
            QAbstractButton* button = nullptr;
            if (!rec.picture.empty()) {
                auto* pb = new EventButton<PictureButton>(*this, index, parent);
                pb->setGeometry(at);
                pb->setPicture(platform_.pictures(), rec.picture);
                button = pb;
            } else {
                button = new EventButton<QPushButton>(*this, index, parent);
                button->setText(fromGbk(state.caption));
                if (rec.font) button->setFont(fontFor(*rec.font));
            }
            button->setFocusPolicy(focus);
            if (binds(index, form::kEventClicked))
                connect(button, &QAbstractButton::clicked, this,
                        [this, index] { fire(index, form::kEventClicked); });
            return button;
        }
        case form::Kind::PictureBox: {
            auto* box = new PictureBox(platform_, parent);
            box->setGeometry(at);
            if (const auto file = mediaFile(state.picture))
                box->setPicture(*file);
            else
                box->setPicture(rec.picture);
            return box;
        }
        case form::Kind::CheckBox: {
            auto* box = new WideCheckBox(fromGbk(state.caption), parent);
            if (rec.font) box->setFont(fontFor(*rec.font));
            box->setFocusPolicy(focus);
            box->setChecked(state.checked);
            // `clicked` comes from the learner only; writes by the model use setChecked.
            connect(box, &QCheckBox::clicked, this,
                    [this, index](bool on) { model_->userSetChecked(index, on); });
            return box;
        }
        case form::Kind::TransparentLabel:
            return new ClickArea(*this, index, parent);
        case form::Kind::Window:
            break;
    }
    return nullptr;
}

QWidget* FormWindow::control(int index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= controls_.size()) return nullptr;
    return controls_[index];
}

QWidget* FormWindow::control(const QString& name) const {
    return model_ ? control(model_->indexOf(gbk(name.toStdString()))) : nullptr;
}

bool FormWindow::binds(int index, std::int32_t event) const {
    return model_ && model_->binds(index, event);
}

void FormWindow::fire(int index, std::int32_t event, int x, int y, int keys) {
    if (closed_ || ui_ == nullptr) return;
    const access::WireWatch watch(*this, index, event);
    // The pointer position goes to the model in the control's stored pixels.
    const QPoint p = ContentFit{fit_.scale, QPoint()}.toStored(QPoint(x, y));
    ui_->fire(model_, index, event, p.x(), p.y(), keys);
}

void FormWindow::apply(int index, int prop) {
    QWidget* w = control(index);
    if (w == nullptr) return;
    const ControlState state = model_->state(index);
    switch (prop) {
        case prop::Visible:
            if (w->isHidden() == state.visible) w->setVisible(state.visible);
            break;
        case prop::Caption:
            if (auto* label = dynamic_cast<TextLabel*>(w)) {
                const QString caption = fromGbk(state.caption);
                if (caption == label->caption()) break;
                label->setCaption(caption);
                access::captionChanged(*label);
            }
            break;
        case prop::TextColor:
            if (auto* label = dynamic_cast<TextLabel*>(w))
                label->setTextColor(colorFor(static_cast<std::uint32_t>(state.textColor)));
            break;
        case prop::Picture:
            if (auto* box = dynamic_cast<PictureBox*>(w)) {
                if (const auto file = mediaFile(state.picture))
                    box->setPicture(*file);
                else if (state.picture.empty())
                    box->setPicture(state.record->picture);
            }
            break;
        case prop::Checked:
            if (auto* box = dynamic_cast<QCheckBox*>(w)) {
                const QSignalBlocker quiet(box);
                box->setChecked(state.checked);
            }
            break;
        default:
            break;  // tag and the rest have no visible effect
    }
}

QPixmap FormWindow::scaledBackground() {
    return platform_.pictures().scaled(block_.window().picture, content_.size(),
                                       devicePixelRatioF());
}

void FormWindow::paintEvent(QPaintEvent* e) {
    // Let go of while another window kept this one disabled (below), taken back to be drawn.
    if (background_.isNull()) background_ = scaledBackground();
    QPainter p(this);
    // Beside the content, when the window's proportions differ from the stored ones.
    const QRegion margin = QRegion(e->rect()).subtracted(content_);
    for (const QRect& r : margin) p.fillRect(r, palette().color(QPalette::Window).darker(115));
    if (background_.isNull())
        p.fillRect(content_, palette().color(QPalette::Window));
    else
        blitDevicePixels(p, QRectF(content_), background_);
    // Disabled, the window stays as it was last drawn until it is enabled again (its own
    // backing store answers every expose): a background the size of the window need not be
    // kept meanwhile. The next paint, once enabled, makes it again.
    if (!isEnabled() && !background_.isNull())
        QTimer::singleShot(0, this, [this] {
            if (isEnabled() || background_.isNull()) return;
            const QSize device = background_.size();
            background_ = QPixmap();
            platform_.pictures().forget(block_.window().picture, device);
        });
    platform_.windowPainted(*this);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // While a dialog-mode window is open the others refuse everything, closing included.
    if (!isEnabled() && event->spontaneous()) {
        event->ignore();
        return;
    }
    event->accept();
    if (closed_) return;
    closed_ = true;
    platform_.windowClosing(this);
}

}  // namespace wt::qt
