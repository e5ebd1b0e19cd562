#include "assets/gif_write.h"

#include <gif_lib.h>

#include <algorithm>
#include <unordered_map>

namespace wt::assets {

namespace {

constexpr int kTransparent = 255;
constexpr std::size_t kMaxColours = 255;

std::uint32_t rgbAt(const QImage& img, int x, int y) {
    return reinterpret_cast<const QRgb*>(img.constScanLine(y))[x] & 0xFFFFFFu;
}

struct Entry {
    std::uint32_t rgb;
    std::uint32_t count;
    int channel(int c) const { return static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF); }
};

struct Box {
    std::size_t begin, end;
    int widest = 0;     // channel with the largest range
    int range = 0;      // that range
    double weight = 0;  // pixels in the box
};

Box describe(std::vector<Entry>& entries, std::size_t begin, std::size_t end) {
    Box box{begin, end};
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], entries[i].channel(c));
            hi[c] = std::max(hi[c], entries[i].channel(c));
        }
        box.weight += entries[i].count;
    }
    for (int c = 0; c < 3; ++c) {
        if (hi[c] - lo[c] > box.range) {
            box.range = hi[c] - lo[c];
            box.widest = c;
        }
    }
    return box;
}

std::vector<QImage> asRgb32(const std::vector<QImage>& frames) {
    std::vector<QImage> out;
    out.reserve(frames.size());
    for (const QImage& f : frames) out.push_back(f.convertToFormat(QImage::Format_RGB32));
    return out;
}

int writeToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

}  // namespace

std::uint8_t Palette::nearest(std::uint32_t rgb) const {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    int best = 0;
    long bestDist = -1;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const long dr = r - colours[i][0], dg = g - colours[i][1], db = b - colours[i][2];
        // Green weighs most, blue least, roughly as the eye does.
        const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

Palette buildPalette(const std::vector<QImage>& input) {
    const std::vector<QImage> frames = asRgb32(input);
    std::unordered_map<std::uint32_t, std::uint32_t> histogram;
    for (const QImage& f : frames) {
        for (int y = 0; y < f.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(f.constScanLine(y));
            std::uint32_t last = 0xFFFFFFFFu;
            std::uint32_t* slot = nullptr;
            for (int x = 0; x < f.width(); ++x) {
                const std::uint32_t rgb = line[x] & 0xFFFFFFu;
                if (rgb != last) {
                    slot = &histogram[rgb];
                    last = rgb;
                }
                ++*slot;
            }
        }
    }
    std::vector<Entry> entries;
    entries.reserve(histogram.size());
    for (const auto& [rgb, count] : histogram) entries.push_back({rgb, count});
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.rgb < b.rgb; });

    Palette palette;
    if (entries.size() <= kMaxColours) {
        for (const Entry& e : entries)
            palette.colours.push_back({static_cast<std::uint8_t>(e.channel(0)),
                                       static_cast<std::uint8_t>(e.channel(1)),
                                       static_cast<std::uint8_t>(e.channel(2))});
        return palette;
    }
    std::vector<Box> boxes{describe(entries, 0, entries.size())};
    while (boxes.size() < kMaxColours) {
        // Split the box where the most pixels meet the widest spread of colour.
        std::size_t pick = boxes.size();
        double bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const double score = boxes[i].range * boxes[i].weight;
            if (boxes[i].end - boxes[i].begin > 1 && score > bestScore) {
                bestScore = score;
                pick = i;
            }
        }
        if (pick == boxes.size()) break;
        Box box = boxes[pick];
        const int c = box.widest;
        std::sort(entries.begin() + static_cast<std::ptrdiff_t>(box.begin),
                  entries.begin() + static_cast<std::ptrdiff_t>(box.end),
                  [c](const Entry& a, const Entry& b) { return a.channel(c) < b.channel(c); });
        double half = box.weight / 2, acc = 0;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            acc += entries[i].count;
            cut = i + 1;
            if (acc >= half) break;
        }
        boxes[pick] = describe(entries, box.begin, cut);
        boxes.push_back(describe(entries, cut, box.end));
    }
    for (const Box& box : boxes) {
        double sum[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += double(entries[i].channel(c)) * entries[i].count;
        std::array<std::uint8_t, 3> colour{};
        for (int c = 0; c < 3; ++c)
            colour[static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>(std::clamp(sum[c] / box.weight + 0.5, 0.0, 255.0));
        palette.colours.push_back(colour);
    }
    return palette;
}

std::vector<unsigned char> encodeGif(const std::vector<QImage>& input, int delayCs, int loopCount) {
    if (input.empty()) return {};
    const std::vector<QImage> frames = asRgb32(input);
    const int w = frames.front().width(), h = frames.front().height();
    for (const QImage& f : frames)
        if (f.size() != frames.front().size()) return {};
    const Palette palette = buildPalette(frames);

    // Index every frame; the colour map caches the nearest-colour search.
    std::unordered_map<std::uint32_t, std::uint8_t> lookup;
    std::vector<std::vector<std::uint8_t>> indexed(frames.size());
    for (std::size_t k = 0; k < frames.size(); ++k) {
        indexed[k].resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y) {
            std::uint32_t last = 0xFFFFFFFFu;
            std::uint8_t lastIndex = 0;
            for (int x = 0; x < w; ++x) {
                const std::uint32_t rgb = rgbAt(frames[k], x, y);
                if (rgb != last) {
                    auto it = lookup.find(rgb);
                    if (it == lookup.end()) it = lookup.emplace(rgb, palette.nearest(rgb)).first;
                    last = rgb;
                    lastIndex = it->second;
                }
                indexed[k][static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                           static_cast<std::size_t>(x)] = lastIndex;
            }
        }
    }

    std::vector<unsigned char> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToVector, &error);
    if (gif == nullptr) return {};
    bool ok = true;
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) {
        const std::size_t src =
            std::min<std::size_t>(static_cast<std::size_t>(i), palette.colours.size() - 1);
        map->Colors[i] = {palette.colours[src][0], palette.colours[src][1],
                          palette.colours[src][2]};
    }
    ok = ok && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);

    // NETSCAPE2.0 application extension: sub-block id 1, then the loop count little-endian.
    const GifByteType appId[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType loop[] = {1, static_cast<GifByteType>(loopCount & 0xFF),
                                static_cast<GifByteType>((loopCount >> 8) & 0xFF)};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK;
    ok = ok && EGifPutExtensionBlock(gif, sizeof appId, appId) == GIF_OK;
    ok = ok && EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_OK;
    ok = ok && EGifPutExtensionTrailer(gif) == GIF_OK;

    std::vector<GifPixelType> line(static_cast<std::size_t>(w));
    for (std::size_t k = 0; ok && k < frames.size(); ++k) {
        int left = 0, top = 0, right = w - 1, bottom = h - 1;
        const bool delta = k > 0;
        if (delta) {
            // Bounding box of the pixels that differ from the previous frame.
            left = w;
            top = h;
            right = -1;
            bottom = -1;
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* cur = &indexed[k][static_cast<std::size_t>(y * w)];
                const std::uint8_t* prev = &indexed[k - 1][static_cast<std::size_t>(y * w)];
                for (int x = 0; x < w; ++x) {
                    if (cur[x] != prev[x]) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
                }
            }
            if (right < 0) left = top = right = bottom = 0;  // identical frame: one clear pixel
        }
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.UserInputFlag = false;
        gcb.DelayTime = delayCs;
        gcb.TransparentColor = delta ? kTransparent : NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const std::size_t extLen = EGifGCBToExtension(&gcb, ext);
        ok = ok &&
             EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extLen), ext) == GIF_OK;
        const int fw = right - left + 1, fh = bottom - top + 1;
        ok = ok && EGifPutImageDesc(gif, left, top, fw, fh, false, nullptr) == GIF_OK;
        for (int y = top; ok && y <= bottom; ++y) {
            const std::uint8_t* cur = &indexed[k][static_cast<std::size_t>(y * w)];
            for (int x = left; x <= right; ++x) {
                const bool same =
                    delta && cur[x] == indexed[k - 1][static_cast<std::size_t>(y * w + x)];
                line[static_cast<std::size_t>(x - left)] = same ? kTransparent : cur[x];
            }
            ok = EGifPutLine(gif, line.data(), fw) == GIF_OK;
        }
    }
    if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    if (!ok) return {};
    return out;
}

}  // namespace wt::assets
