// soundgen: writes the program's synthesised sounds into a directory.
//   soundgen --sounds DIR        the six WAVE files
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string_view>

#include "output.h"
#include "sounds.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s --sounds DIR\n", argv[0]);
        return 2;
    }
    const std::string_view mode = argv[1];
    const std::filesystem::path dir = argv[2];
    try {
        std::filesystem::create_directories(dir);
        bool ok = true;
        if (mode == "--sounds") {
            for (const auto& sound : soundgen::makeSounds())
                ok &= soundgen::writeIfChanged(dir / sound.file, soundgen::waveFile(sound));
        } else {
            std::fprintf(stderr, "%s: unknown mode %s\n", argv[0], argv[1]);
            return 2;
        }
        if (!ok) {
            std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
