// Decoding time of every picture in the media catalogue, straight from the embedded blobs:
// libpng for the PNG pictures (RGB and RGBA output), the structure walk for the GIF animations.
//   decode_bench [RUNS]   (default 21; the median and the fastest run are printed)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "resources/media.h"
#include "ui/media/gif_info.h"
#include "ui/media/media_kind.h"
#include "ui/media/png_decode.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    double median = 0, best = 0;  // milliseconds
};

Timing measure(int runs, const std::function<bool()>& once) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!once()) {
            std::fprintf(stderr, "decode failed\n");
            std::exit(1);
        }
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace wt;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::printf("%-18s %-5s %-9s %9s %-6s %11s %9s %9s\n", "role", "kind", "size", "bytes",
                "output", "median ms", "best ms", "Mpix/s");
    for (int r = 0; r < int(media::Role::Count); ++r) {
        const auto role = media::Role(r);
        const auto file = mediaFile(media::blob(role));
        if (!file) return 1;
        const auto kind = decode::mediaKind(*file);
        if (kind == decode::MediaKind::Png) {
            const auto header = decode::readPngHeader(*file);
            const double mpix = double(header->width) * header->height / 1e6;
            for (auto format : {decode::PixelFormat::Rgb8, decode::PixelFormat::Rgba8}) {
                const Timing t =
                    measure(runs, [&] { return bool(decode::decodePng(*file, format)); });
                std::printf("%-18.*s %-5s %4ux%-4u %9zu %-6s %11.2f %9.2f %9.1f\n",
                            int(media::roleName(role).size()), media::roleName(role).data(), "PNG",
                            header->width, header->height, file->size(),
                            format == decode::PixelFormat::Rgb8 ? "RGB" : "RGBA", t.median, t.best,
                            mpix / (t.median / 1000));
            }
        } else if (kind == decode::MediaKind::Gif) {
            const auto info = decode::inspectGif(*file);
            const Timing t = measure(runs, [&] { return bool(decode::inspectGif(*file)); });
            std::printf("%-18.*s %-5s %4dx%-4d %9zu %-6s %11.3f %9.3f %9s\n",
                        int(media::roleName(role).size()), media::roleName(role).data(), "GIF",
                        info->width, info->height, file->size(), "check", t.median, t.best, "-");
        }
    }
    std::printf("(%d runs each)\n", runs);
    return 0;
}
