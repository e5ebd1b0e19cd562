// assetgen: draws the program's pictures and animations at build time.
//
//   assetgen --pictures DIR            fixed pictures, schematics and motor animations into DIR
//   assetgen --diagram FORM OUT.png    a window background drawn from the window's form source
//   assetgen --contact-sheet DIR [--forms FORMDIR]
//                                      small overview sheets of everything for the documentation
//
// Files whose bytes did not change are left untouched, so unchanged pictures rebuild nothing.
#include <unistd.h>

#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "assets/catalogue.h"
#include "assets/diagram.h"
#include "assets/draw_util.h"
#include "assets/gif_write.h"
#include "assets/pictures.h"
#include "assets/png_write.h"

namespace fs = std::filesystem;
using namespace wt::assets;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: assetgen --pictures DIR\n"
                 "       assetgen --diagram FORM OUT.png\n"
                 "       assetgen --contact-sheet DIR [--forms FORMDIR]\n");
    return 2;
}

bool save(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::string error;
    if (bytes.empty()) {
        std::fprintf(stderr, "assetgen: cannot encode %s\n", path.c_str());
        return false;
    }
    if (!writeIfDifferent(path.string(), bytes, &error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return false;
    }
    return true;
}

int writePictures(const fs::path& dir) {
    fs::create_directories(dir);
    bool ok = true;
    for (const PictureJob& job : pictureJobs())
        ok = save(dir / job.file, encodePng(job.draw())) && ok;
    for (const AnimationJob& job : animationJobs())
        ok = save(dir / job.file,
                  encodeGif(drawMotorFrames(job.forward, job.frames), kFrameDelayCs, 0)) &&
             ok;
    return ok ? 0 : 1;
}

int writeDiagram(const std::string& form, const fs::path& out) {
    std::string error;
    auto geometry = readFormGeometry(form, &error);
    if (!geometry) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    if (out.has_parent_path()) fs::create_directories(out.parent_path());
    return save(out, encodePng(drawDiagram(*geometry, diagramSize(*geometry)))) ? 0 : 1;
}

// A sheet of captioned cells, each picture scaled to fit its cell.
QImage sheet(const std::vector<std::pair<QString, QImage>>& items, int columns, QSize cell) {
    const int caption = 18, pad = 8;
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    QImage img = canvas(columns * (cell.width() + pad) + pad,
                        rows * (cell.height() + caption + pad) + pad, QColor(0xFA, 0xFB, 0xFC));
    QPainter p(&img);
    prepare(p);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int col = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        const QRect box(pad + col * (cell.width() + pad),
                        pad + row * (cell.height() + caption + pad), cell.width(), cell.height());
        const QImage scaled =
            items[i].second.scaled(cell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawImage(box.left() + (box.width() - scaled.width()) / 2,
                    box.top() + (box.height() - scaled.height()) / 2, scaled);
        drawCentred(p, QRectF(box.left(), box.bottom() + 1, box.width(), caption), items[i].first,
                    latinFont(11), QColor(0x33, 0x3A, 0x44));
    }
    return img;
}

int writeContactSheet(const fs::path& dir, const fs::path& forms) {
    fs::create_directories(dir);
    bool ok = true;
    std::vector<std::pair<QString, QImage>> stills, schematics, diagrams;
    for (const PictureJob& job : pictureJobs()) {
        auto& list = job.file.rfind("schematic_", 0) == 0 ? schematics : stills;
        list.emplace_back(QString::fromStdString(job.file), job.draw());
    }
    ok = save(dir / "pictures.png", encodePalettePng(sheet(stills, 4, {200, 150}))) && ok;
    ok = save(dir / "schematics.png", encodePalettePng(sheet(schematics, 3, {256, 256}))) && ok;
    for (Exercise e : kExercises) {
        const fs::path form = forms / (exerciseWindow(e) + ".form");
        std::string error;
        auto geometry = readFormGeometry(form.string(), &error);
        if (!geometry) {
            std::fprintf(stderr, "assetgen: %s (skipped)\n", error.c_str());
            continue;
        }
        diagrams.emplace_back(QString::fromStdString("diagram_" + exerciseName(e) + ".png"),
                              drawDiagram(*geometry, diagramSize(*geometry)));
    }
    if (!diagrams.empty())
        ok = save(dir / "diagrams.png", encodePalettePng(sheet(diagrams, 2, {360, 225}))) && ok;
    for (const AnimationJob& job : animationJobs()) {
        const std::vector<QImage> frames = drawMotorFrames(job.forward, job.frames);
        std::vector<std::pair<QString, QImage>> picked;
        for (int k = 0; k < 12; ++k) {
            const int index = k * job.frames / 12;
            picked.emplace_back(QStringLiteral("frame %1").arg(index + 1),
                                frames[static_cast<std::size_t>(index)]);
        }
        const std::string name = fs::path(job.file).stem().string() + "_frames.png";
        ok = save(dir / name, encodePalettePng(sheet(picked, 4, {155, 108}))) && ok;
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // A build tool paints off screen whatever display the build runs under.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Qt asks for a private runtime directory even off screen; give it one of our own.
        std::error_code ec;
        const fs::path runtime =
            fs::temp_directory_path(ec) / ("assetgen-runtime-" + std::to_string(getuid()));
        fs::create_directories(runtime, ec);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace, ec);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.string()));
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--pictures") == 0) return writePictures(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--diagram") == 0) return writeDiagram(argv[2], argv[3]);
    if ((argc == 3 || argc == 5) && std::strcmp(argv[1], "--contact-sheet") == 0) {
        fs::path forms = "resources/forms";
        if (argc == 5) {
            if (std::strcmp(argv[3], "--forms") != 0) return usage();
            forms = argv[4];
        }
        return writeContactSheet(argv[2], forms);
    }
    return usage();
}
