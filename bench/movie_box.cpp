// Floor for the CPU share of the running-motor animation: a bare QMovie over the embedded
// forward-running GIF, scaled into a label of the continuous-run motor box's size and place
// (图片框7, 160 x 104) in an otherwise empty window of that exercise window's size.
#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QMovie>
#include <QWidget>
#include <cstdio>

#include "bench/bench_forms.h"
#include "resources/media.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto file = wt::mediaFile(wt::media::blob(wt::media::Role::MotorForward));
    if (!file) {
        std::fprintf(stderr, "movie_box: no GIF blob\n");
        return 1;
    }
    const wt::form::WindowBlock* block = wt::bench::windowNamed("ContinuousRunExercise");
    const auto place = block ? wt::bench::windowGeometry(*block, "图片框7") : std::nullopt;
    if (!place) {
        std::fprintf(stderr, "movie_box: no motor box in the form resource\n");
        return 1;
    }
    QWidget window;
    window.setFixedSize(block->window().geometry.width, block->window().geometry.height);
    window.move(50, 50);
    QLabel box(&window);
    box.setGeometry(place->left, place->top, place->width, place->height);
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(file->data()),
                                           static_cast<qsizetype>(file->size())));
    buffer.open(QIODevice::ReadOnly);
    QMovie movie(&buffer, "gif");
    movie.setScaledSize(box.size());
    box.setMovie(&movie);
    movie.start();
    window.show();
    window.move(50, 50);
    return QApplication::exec();
}
