// icongen: draws the program's icon at every size the desktop looks for.
//
//   icongen DIR SIZE...     writes DIR/icon_SIZE.png for each size (RGBA PNG)
//
// A file whose bytes did not change is left untouched.
#include <QBuffer>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/icon.h"
#include "assets/png_write.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: icongen DIR SIZE...\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "icongen: bad size %s\n", argv[i]);
            return 2;
        }
        // The icon keeps its alpha channel, so it goes through Qt's PNG writer rather than
        // the RGB encoder of the other pictures.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const std::string name = "icon_" + std::to_string(size) + ".png";
        if (!wt::assets::drawIcon(size).save(&buffer, "PNG", 9)) {
            std::fprintf(stderr, "icongen: cannot encode %s\n", name.c_str());
            status = 1;
            continue;
        }
        std::string error;
        if (!wt::assets::writeIfDifferent((dir / name).string(),
                                          std::vector<unsigned char>(png.begin(), png.end()),
                                          &error)) {
            std::fprintf(stderr, "icongen: %s\n", error.c_str());
            status = 1;
        }
    }
    return status;
}
