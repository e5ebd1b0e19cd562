// Floors for start-up, for opening an exercise window and for showing a wire, built from the
// program's own form resource and pictures with plain Qt widgets, without its control model:
//   floor_windows picture        a launcher like the menu (its background, buttons and labels
//                                with their captions and fonts) at the menu's place; a button
//                                opens a window that shows only its exercise's background,
//                                decoded with png_decode and scaled smoothly to the window (from
//                                32-bit pixels) the first time; later openings reuse the pixmap.
//   floor_windows wire L T ...   the continuous-run background with hidden bars L (wire label
//                                names) and plain buttons T (terminal names) at their places;
//                                a click on T shows L.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "bench/bench_forms.h"
#include "ui/media/png_decode.h"

namespace {

using namespace wt;

QColor colorOf(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QPixmap decodeScaled(std::span<const std::uint8_t> png, QSize size) {
    auto decoded = decode::decodePng(png, decode::PixelFormat::Rgb8);
    if (!decoded) return {};
    // The image owns the decoded rows, so a pixmap that shares them stays valid.
    auto* rows = new std::vector<std::uint8_t>(std::move(decoded.value->pixels));
    const QImage image(
        rows->data(), decoded->width, decoded->height, static_cast<qsizetype>(decoded->stride),
        QImage::Format_RGB888, [](void* p) { delete static_cast<std::vector<std::uint8_t>*>(p); },
        rows);
    if (image.size() == size) return QPixmap::fromImage(image);
    // Smooth scaling from Qt's 32-bit format is several times faster than from RGB888.
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_RGB32)
                                  .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

class PictureWindow : public QWidget {
  public:
    PictureWindow(QPixmap picture, QSize size) : picture_(std::move(picture)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(size);
        move(50, 50);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, picture_);
    }

  private:
    QPixmap picture_;
};

QSize windowSize(const form::WindowBlock& block) {
    return {block.window().geometry.width, block.window().geometry.height};
}

QFont fontOf(const form::ControlRecord& record) {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei")});
    if (record.font) {
        if (record.font->height != 0) font.setPixelSize(std::abs(record.font->height));
        font.setBold(record.font->weight >= 700);
    }
    return font;
}

QString captionOf(const form::ControlRecord& record) {
    return QString::fromStdString(utf8(record.captionGbk)).replace(QLatin1String("\r\n"), "\n");
}

int runPicture() {
    const form::WindowBlock* menu = bench::windowNamed("ExerciseMenu");
    if (menu == nullptr) return 1;
    // The launcher looks like the menu: its background, its buttons and labels with their
    // captions and fonts, made directly with Qt widgets.
    PictureWindow launcher(decodeScaled(menu->window().picture, windowSize(*menu)),
                           windowSize(*menu));
    launcher.setAttribute(Qt::WA_DeleteOnClose, false);
    for (std::size_t i = 1; i < menu->records.size(); ++i) {
        const form::ControlRecord& rec = menu->records[i];
        if (rec.kind != form::Kind::Label) continue;
        auto* label = new QLabel(captionOf(rec), &launcher);
        label->setGeometry(rec.geometry.left, rec.geometry.top, rec.geometry.width,
                           rec.geometry.height);
        label->setFont(fontOf(rec));
        label->setWordWrap(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, colorOf(rec.backColor));
        palette.setColor(QPalette::WindowText, colorOf(rec.textColor));
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
    std::map<std::uint32_t, QPixmap> scaled;
    for (const bench::MenuEntry& entry : bench::kMenu) {
        const int index = bench::controlIndex(*menu, entry.button);
        const form::WindowBlock* block = bench::forms().find(entry.window);
        if (index < 0 || block == nullptr) return 1;
        const form::ControlRecord& rec = menu->records[index];
        auto* button = new QPushButton(captionOf(rec), &launcher);
        button->setGeometry(rec.geometry.left, rec.geometry.top, rec.geometry.width,
                            rec.geometry.height);
        button->setFont(fontOf(rec));
        QObject::connect(button, &QPushButton::clicked, [block, &scaled] {
            const QSize size = windowSize(*block);
            auto it = scaled.find(block->windowId);
            if (it == scaled.end())
                it = scaled.emplace(block->windowId, decodeScaled(block->window().picture, size))
                         .first;
            auto* window = new PictureWindow(it->second, size);
            window->show();
            window->move(50, 50);
        });
    }
    launcher.show();
    launcher.move(50, 50);
    return QApplication::exec();
}

class Bar : public QWidget {
  public:
    Bar(QColor color, QWidget* parent) : QWidget(parent), color_(color) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color_); }

  private:
    QColor color_;
};

int runWire(int pairs, char** names) {
    const form::WindowBlock* block = bench::windowNamed("ContinuousRunExercise");
    if (block == nullptr) return 1;
    const QSize size = windowSize(*block);
    auto* window = new PictureWindow(decodeScaled(block->window().picture, size), size);
    for (int i = 0; i < pairs; ++i) {
        const int label = bench::controlIndex(*block, names[2 * i]);
        const auto end = bench::windowGeometry(*block, names[2 * i + 1]);
        if (label < 0 || !end) {
            std::fprintf(stderr, "floor_windows: no %s / %s\n", names[2 * i], names[2 * i + 1]);
            return 1;
        }
        const form::Geometry g = bench::windowGeometry(*block, label);
        auto* bar = new Bar(colorOf(block->records[label].barColors[1]), window);
        bar->setGeometry(g.left, g.top, g.width, g.height);
        bar->hide();
        auto* button = new QPushButton(window);
        button->setGeometry(end->left, end->top, end->width, end->height);
        QObject::connect(button, &QPushButton::clicked, bar, [bar] { bar->show(); });
    }
    window->show();
    window->move(50, 50);
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Windows"));  // the program's start-up style
    if (argc >= 2 && std::strcmp(argv[1], "picture") == 0) return runPicture();
    if (argc >= 4 && std::strcmp(argv[1], "wire") == 0 && argc % 2 == 0)
        return runWire((argc - 2) / 2, argv + 2);
    std::fprintf(stderr, "usage: floor_windows picture | wire LABEL TERMINAL...\n");
    return 2;
}
