#include "ui/win32/pictures.h"

#include <objbase.h>
#include <propidl.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

#include "ui/media/gif_info.h"

namespace wt::win32 {
namespace {

// Limits on what a file may ask for before anything is allocated.
constexpr int kMaxSide = 8192;
constexpr int kMaxFrames = 10000;
constexpr std::uint64_t kMaxDecodedBytes = 1ull << 30;

// An owning COM pointer.
template <class T>
class Com {
  public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Com(Com&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~Com() {
        if (p_) p_->Release();
    }
    T** put() {
        if (p_) p_->Release();
        p_ = nullptr;
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// COM on this thread for the lifetime of the object. A thread already in another apartment
// keeps it (RPC_E_CHANGED_MODE): WIC works from either.
class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }

  private:
    HRESULT hr_;
};

Com<IWICImagingFactory> makeFactory() {
    Com<IWICImagingFactory> factory;
    // The version-1 factory: the same class on Windows 7 as on later systems.
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.putVoid())))
        factory.put();
    return factory;
}

class Property {
  public:
    Property() { PropVariantInit(&value_); }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;
    ~Property() { PropVariantClear(&value_); }
    PROPVARIANT* put() {
        PropVariantClear(&value_);
        return &value_;
    }
    const PROPVARIANT& get() const { return value_; }

  private:
    PROPVARIANT value_;
};

// An unsigned integer from a metadata query (GIF fields are UI1, UI2 or BOOL), or `fallback`.
int readInt(IWICMetadataQueryReader* reader, const wchar_t* query, int fallback) {
    if (!reader) return fallback;
    Property p;
    if (FAILED(reader->GetMetadataByName(query, p.put()))) return fallback;
    switch (p.get().vt) {
        case VT_UI1:
            return p.get().bVal;
        case VT_UI2:
            return p.get().uiVal;
        case VT_UI4:
            return static_cast<int>(std::min<ULONG>(p.get().ulVal, 0x7fffffff));
        case VT_BOOL:
            return p.get().boolVal ? 1 : 0;
        default:
            return fallback;
    }
}

// A byte vector from a metadata query (VT_UI1 | VT_VECTOR), empty when absent.
std::vector<std::uint8_t> readBytes(IWICMetadataQueryReader* reader, const wchar_t* query) {
    if (!reader) return {};
    Property p;
    if (FAILED(reader->GetMetadataByName(query, p.put()))) return {};
    if (p.get().vt != (VT_UI1 | VT_VECTOR) || !p.get().caub.pElems) return {};
    return {p.get().caub.pElems, p.get().caub.pElems + p.get().caub.cElems};
}

bool sizeAllowed(UINT width, UINT height) {
    return width > 0 && height > 0 && width <= UINT(kMaxSide) && height <= UINT(kMaxSide);
}

// The frame as 32-bit premultiplied BGRA, whatever its stored format.
bool copyConverted(IWICImagingFactory* factory, IWICBitmapSource* source, Bitmap& out) {
    UINT w = 0, h = 0;
    if (FAILED(source->GetSize(&w, &h)) || !sizeAllowed(w, h)) return false;
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return false;
    out.width = int(w);
    out.height = int(h);
    out.pixels.assign(std::size_t(w) * h * 4, 0);
    return SUCCEEDED(
        converter->CopyPixels(nullptr, w * 4, UINT(out.pixels.size()), out.pixels.data()));
}

// One GIF image before compositing: its rectangle on the logical screen and its pixels.
struct GifImage {
    Bitmap bitmap;
    int left = 0, top = 0;
    int disposal = 0;  // 0/1 leave in place, 2 restore to background, 3 restore to previous
    int delayCs = 0;
};

// The image of a GIF frame. Indexed frames are expanded here with the frame's own transparent
// index, so transparency does not depend on how the system's palette marks it.
bool readGifImage(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, GifImage& image) {
    Com<IWICMetadataQueryReader> meta;
    if (FAILED(frame->GetMetadataQueryReader(meta.put()))) meta.put();
    image.left = readInt(meta.get(), L"/imgdesc/Left", 0);
    image.top = readInt(meta.get(), L"/imgdesc/Top", 0);
    image.disposal = readInt(meta.get(), L"/grctlext/Disposal", 0);
    image.delayCs = readInt(meta.get(), L"/grctlext/Delay", 0);
    const bool transparent = readInt(meta.get(), L"/grctlext/TransparencyFlag", 0) != 0;
    const int transparentIndex = readInt(meta.get(), L"/grctlext/TransparentColorIndex", -1);

    WICPixelFormatGUID format{};
    UINT w = 0, h = 0;
    if (FAILED(frame->GetPixelFormat(&format)) || FAILED(frame->GetSize(&w, &h)) ||
        !sizeAllowed(w, h))
        return false;
    if (!IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed))
        return copyConverted(factory, frame, image.bitmap);

    Com<IWICPalette> palette;
    std::array<WICColor, 256> colours{};
    UINT count = 0;
    if (FAILED(factory->CreatePalette(palette.put())) ||
        FAILED(frame->CopyPalette(palette.get())) ||
        FAILED(palette->GetColors(UINT(colours.size()), colours.data(), &count)))
        return false;
    std::vector<std::uint8_t> indices(std::size_t(w) * h);
    if (FAILED(frame->CopyPixels(nullptr, w, UINT(indices.size()), indices.data()))) return false;
    image.bitmap.width = int(w);
    image.bitmap.height = int(h);
    image.bitmap.pixels.resize(indices.size() * 4);
    std::uint8_t* out = image.bitmap.pixels.data();
    for (std::uint8_t index : indices) {
        const WICColor c = index < count ? colours[index] : 0;
        const bool clear = (transparent && index == transparentIndex) || index >= count;
        const std::uint32_t a = clear ? 0 : (c >> 24);
        // Premultiply: GIF alpha is 0 or 255, but a palette may carry anything.
        out[0] = std::uint8_t((c & 0xff) * a / 255);
        out[1] = std::uint8_t(((c >> 8) & 0xff) * a / 255);
        out[2] = std::uint8_t(((c >> 16) & 0xff) * a / 255);
        out[3] = std::uint8_t(a);
        out += 4;
    }
    return true;
}

// Draws `image` over `canvas` (premultiplied source-over), clipped to the canvas.
void composite(Bitmap& canvas, const GifImage& image) {
    const int x0 = std::max(0, image.left), y0 = std::max(0, image.top);
    const int x1 = std::min(canvas.width, image.left + image.bitmap.width);
    const int y1 = std::min(canvas.height, image.top + image.bitmap.height);
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* s =
            image.bitmap.pixels.data() +
            (std::size_t(y - image.top) * image.bitmap.width + (x0 - image.left)) * 4;
        std::uint8_t* d = canvas.pixels.data() + (std::size_t(y) * canvas.width + x0) * 4;
        for (int x = x0; x < x1; ++x, s += 4, d += 4) {
            const unsigned a = s[3];
            if (a == 255) {
                std::memcpy(d, s, 4);
            } else if (a != 0) {
                for (int k = 0; k < 4; ++k) d[k] = std::uint8_t(s[k] + d[k] * (255 - a) / 255);
            }
        }
    }
}

void clearRect(Bitmap& canvas, int left, int top, int width, int height) {
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(canvas.width, left + width);
    const int y1 = std::min(canvas.height, top + height);
    for (int y = y0; y < y1 && x0 < x1; ++y)
        std::memset(canvas.pixels.data() + (std::size_t(y) * canvas.width + x0) * 4, 0,
                    std::size_t(x1 - x0) * 4);
}

}  // namespace

// One pass over a file's frames with one full-size canvas: a GIF frame is composited over what
// the frame before left (after its disposal), so frame i costs one image decode when the frames
// are asked for in order.
class FrameWalker {
  public:
    // nullptr when `file` is not a PNG or GIF, or its blocks do not hold together.
    static std::unique_ptr<FrameWalker> open(std::span<const std::uint8_t> file) {
        if (file.empty() || file.size() > 0x7fffffff) return nullptr;
        auto w = std::unique_ptr<FrameWalker>(new FrameWalker);
        if (!w->factory_) return nullptr;
        // The stream only reads the bytes; the interface wants them non-const.
        if (FAILED(w->factory_->CreateStream(w->stream_.put())) ||
            FAILED(w->stream_->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                                    DWORD(file.size()))) ||
            FAILED(w->factory_->CreateDecoderFromStream(
                w->stream_.get(), nullptr, WICDecodeMetadataCacheOnLoad, w->decoder_.put())))
            return nullptr;
        GUID container{};
        if (FAILED(w->decoder_->GetContainerFormat(&container)) ||
            FAILED(w->decoder_->GetFrameCount(&w->count_)) || w->count_ == 0 ||
            w->count_ > UINT(kMaxFrames))
            return nullptr;
        w->gif_ = IsEqualGUID(container, GUID_ContainerFormatGif);
        if (w->gif_) {
            // Walked block by block first, as the other bindings do, so that the system's
            // decoder only sees a file whose lengths hold together.
            const auto checked = decode::inspectGif(file);
            if (!checked || checked->frameCount() != int(w->count_)) return nullptr;
            for (int cs : checked->delays) w->info_.delaysMs.push_back(cs * 10);
            w->readScreen();
        } else if (!IsEqualGUID(container, GUID_ContainerFormatPng)) {
            return nullptr;
        }
        w->info_.frameCount = int(w->count_);
        return w;
    }

    const PictureInfo& info() const { return info_; }
    int next() const { return int(next_); }

    // The canvas once frame `frame` (not before the last one walked) is on it; nullptr when a
    // frame does not decode. `delayMs` gets each walked GIF frame's delay as the system reads it.
    const Bitmap* walkTo(int frame, std::vector<int>* delaysMs = nullptr) {
        if (frame < int(next_) - 1 || frame >= int(count_)) return nullptr;
        while (int(next_) <= frame)
            if (!step(delaysMs)) {
                next_ = count_;  // spent
                return nullptr;
            }
        return &canvas_;
    }

    std::size_t fullSizeBytes() const {
        return canvas_.pixels.capacity() + before_.pixels.capacity();
    }

  private:
    FrameWalker() : factory_(makeFactory()) {}  // after com_

    void readScreen() {
        Com<IWICMetadataQueryReader> meta;
        if (FAILED(decoder_->GetMetadataQueryReader(meta.put()))) meta.put();
        width_ = readInt(meta.get(), L"/logscrdesc/Width", 0);
        height_ = readInt(meta.get(), L"/logscrdesc/Height", 0);
        // NETSCAPE2.0: data sub-block 1, then the repeat count, little-endian.
        info_.loopCount = 1;
        const std::vector<std::uint8_t> app = readBytes(meta.get(), L"/appext/Application");
        const std::vector<std::uint8_t> data = readBytes(meta.get(), L"/appext/Data");
        constexpr std::string_view kNetscape = "NETSCAPE2.0";
        if (std::string_view(reinterpret_cast<const char*>(app.data()), app.size()) == kNetscape &&
            data.size() >= 4 && data[0] >= 3 && data[1] == 1) {
            const int repeats = data[2] | (data[3] << 8);
            info_.loopCount = repeats == 0 ? 0 : repeats + 1;
        }
    }

    bool step(std::vector<int>* delaysMs) {
        Com<IWICBitmapFrameDecode> frame;
        if (FAILED(decoder_->GetFrame(next_, frame.put()))) return false;
        if (!gif_) {
            ++next_;
            return copyConverted(factory_.get(), frame.get(), canvas_);
        }
        GifImage image;
        if (!readGifImage(factory_.get(), frame.get(), image)) return false;
        if (next_ == 0) {
            // A screen descriptor of 0 x 0 (or none) takes the first image's extent.
            if (!sizeAllowed(UINT(width_), UINT(height_))) {
                width_ = image.left + image.bitmap.width;
                height_ = image.top + image.bitmap.height;
                if (!sizeAllowed(UINT(width_), UINT(height_))) return false;
            }
            canvas_ = {width_, height_,
                       std::vector<std::uint8_t>(std::size_t(width_) * height_ * 4, 0)};
        } else if (disposal_ == 2) {
            clearRect(canvas_, last_.left, last_.top, last_.right, last_.bottom);
        } else if (disposal_ == 3) {
            canvas_ = std::move(before_);
            before_ = {};
        }
        if (image.disposal == 3) before_ = canvas_;
        composite(canvas_, image);
        disposal_ = image.disposal;
        last_ = {image.left, image.top, image.bitmap.width, image.bitmap.height};
        if (delaysMs) delaysMs->push_back(image.delayCs * 10);
        ++next_;
        return true;
    }

    ComScope com_;  // first in, last out: the interfaces below are released inside it
    Com<IWICImagingFactory> factory_;
    Com<IWICStream> stream_;
    Com<IWICBitmapDecoder> decoder_;
    bool gif_ = false;
    UINT count_ = 0, next_ = 0;
    PictureInfo info_;
    int width_ = 0, height_ = 0;
    Bitmap canvas_, before_;
    struct Area {
        int left = 0, top = 0, right = 0, bottom = 0;  // right, bottom: width, height
    };
    int disposal_ = 0;  // of the last frame walked
    Area last_;         // where its image was drawn
};

std::shared_ptr<const Picture> decodePicture(std::span<const std::uint8_t> file) {
    const std::unique_ptr<FrameWalker> walk = FrameWalker::open(file);
    if (!walk) return nullptr;
    const PictureInfo& info = walk->info();
    auto picture = std::make_shared<Picture>();
    picture->loopCount = info.loopCount;
    picture->frames.reserve(std::size_t(info.frameCount));
    std::vector<int> delays;
    for (int i = 0; i < info.frameCount; ++i) {
        const Bitmap* canvas = walk->walkTo(i, &delays);
        if (!canvas) return nullptr;
        if (std::uint64_t(canvas->width) * canvas->height * 4 * std::uint64_t(info.frameCount) >
            kMaxDecodedBytes)
            return nullptr;
        picture->frames.push_back(*canvas);
    }
    if (!info.delaysMs.empty()) picture->delaysMs = std::move(delays);
    return picture;
}

namespace {

// The taps of one output sample along one axis: the first source index and its weights.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

// A triangle filter as wide as one output pixel when shrinking (every source pixel counts,
// weighted by its share) and as wide as one source pixel when growing (linear interpolation),
// so the result is neither blocky when shrunk nor pixel-doubled when grown.
std::vector<Taps> taps(int from, int to) {
    const double scale = double(from) / to;
    const double support = std::max(1.0, scale);
    std::vector<Taps> out(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int lo = std::max(0, int(std::ceil(centre - support)));
        const int hi = std::min(from - 1, int(std::floor(centre + support)));
        Taps& t = out[std::size_t(i)];
        t.first = lo;
        double sum = 0;
        for (int j = lo; j <= hi; ++j) {
            const double w = std::max(0.0, 1.0 - std::abs(j - centre) / support);
            t.weights.push_back(float(w));
            sum += w;
        }
        if (sum <= 0) {  // a sample between two source pixels at the very edge
            t.first = std::clamp(int(std::lround(centre)), 0, from - 1);
            t.weights.assign(1, 1.0f);
            sum = 1;
        }
        for (float& w : t.weights) w = float(w / sum);
    }
    return out;
}

}  // namespace

Bitmap scaleBitmap(const Bitmap& source, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || source.width <= 0 ||
        source.height <= 0 || source.pixels.size() != std::size_t(source.width) * source.height * 4)
        return {};
    if (width == source.width && height == source.height) return source;
    // Premultiplied samples filter without dark fringes; the weights are positive, so a result
    // never exceeds its alpha.
    const std::vector<Taps> across = taps(source.width, width);
    const std::vector<Taps> down = taps(source.height, height);
    std::vector<float> rows(std::size_t(width) * source.height * 4);
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.pixels.data() + std::size_t(y) * source.width * 4;
        float* out = rows.data() + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x, out += 4) {
            const Taps& t = across[std::size_t(x)];
            for (std::size_t k = 0; k < t.weights.size(); ++k) {
                const std::uint8_t* p = in + (std::size_t(t.first) + k) * 4;
                for (int c = 0; c < 4; ++c) out[c] += t.weights[k] * p[c];
            }
        }
    }
    Bitmap result{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
    for (int y = 0; y < height; ++y) {
        const Taps& t = down[std::size_t(y)];
        std::uint8_t* out = result.pixels.data() + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x, out += 4) {
            float v[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < t.weights.size(); ++k) {
                const float* p = rows.data() + ((std::size_t(t.first) + k) * width + x) * 4;
                for (int c = 0; c < 4; ++c) v[c] += t.weights[k] * p[c];
            }
            const float alpha = std::min(255.0f, v[3] + 0.5f);
            for (int c = 0; c < 3; ++c) out[c] = std::uint8_t(std::min(alpha, v[c] + 0.5f));
            out[3] = std::uint8_t(alpha);
        }
    }
    return result;
}

HBITMAP makeDibSection(const Bitmap& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.pixels.size() != std::size_t(bitmap.width) * bitmap.height * 4)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bitmap.width;
    info.bmiHeader.biHeight = -bitmap.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib) DeleteObject(dib);
        return nullptr;
    }
    std::memcpy(bits, bitmap.pixels.data(), bitmap.pixels.size());
    GdiFlush();
    return dib;
}

PictureCache::~PictureCache() {
    for (auto& [key, e] : entries_)
        if (e)
            for (Size& size : e->sizes) drop(size);
}

void PictureCache::drop(Size& size) {
    for (HBITMAP& b : size.frames) {
        if (b) DeleteObject(b);
        b = nullptr;
    }
    size.made = 0;
    size.walk.reset();
}

PictureCache::Entry* PictureCache::entry(std::span<const std::uint8_t> file) {
    const auto key = std::make_pair(file.data(), file.size());
    auto it = entries_.find(key);
    if (it == entries_.end()) {
        // The first frame is decoded now, so a file that fails there is refused at once, and kept
        // for the first size asked for.
        std::shared_ptr<FrameWalker> walk = FrameWalker::open(file);
        std::optional<Entry> e;
        if (walk && walk->walkTo(0)) e = Entry{walk->info(), std::move(walk), {}};
        it = entries_.emplace(key, std::move(e)).first;
    }
    return it->second ? &*it->second : nullptr;
}

const PictureInfo* PictureCache::info(std::span<const std::uint8_t> file) {
    Entry* e = entry(file);
    return e ? &e->info : nullptr;
}

HBITMAP PictureCache::scaled(std::span<const std::uint8_t> file, int frame, int width, int height) {
    Entry* e = entry(file);
    if (!e || frame < 0 || frame >= e->info.frameCount || width <= 0 || height <= 0 ||
        width > kMaxSide || height > kMaxSide)
        return nullptr;
    auto size = std::find_if(e->sizes.begin(), e->sizes.end(),
                             [&](const Size& s) { return s.width == width && s.height == height; });
    if (size == e->sizes.end()) {
        if (e->sizes.size() >= kSizesKept) {
            auto oldest = std::min_element(
                e->sizes.begin(), e->sizes.end(),
                [](const Size& a, const Size& b) { return a.lastUse < b.lastUse; });
            drop(*oldest);
            e->sizes.erase(oldest);
        }
        e->sizes.push_back(
            Size{width, height, std::vector<HBITMAP>(std::size_t(e->info.frameCount)), 0, 0, {}});
        size = e->sizes.end() - 1;
    }
    size->lastUse = ++uses_;
    HBITMAP& dib = size->frames[std::size_t(frame)];
    if (dib) return dib;
    // An animation asks for its frames in order, so its walk goes on from where it stopped;
    // asked for one it has passed, it starts again from the first frame.
    if (!size->walk || size->walk->next() > frame + 1) {
        if (e->first && e->first->next() <= frame + 1)
            size->walk = std::move(e->first);
        else
            size->walk = FrameWalker::open(file);
        e->first.reset();
    }
    const Bitmap* canvas = size->walk ? size->walk->walkTo(frame) : nullptr;
    if (!canvas) return nullptr;
    dib = makeDibSection(scaleBitmap(*canvas, width, height));
    if (dib && ++size->made == size->frames.size()) size->walk.reset();
    return dib;
}

void PictureCache::release(std::span<const std::uint8_t> file) {
    auto it = entries_.find(std::make_pair(file.data(), file.size()));
    if (it == entries_.end()) return;
    if (it->second)
        for (Size& size : it->second->sizes) drop(size);
    entries_.erase(it);
}

std::size_t PictureCache::fullSizeBytes() const {
    std::size_t bytes = 0;
    for (const auto& [key, e] : entries_) {
        if (!e) continue;
        if (e->first) bytes += e->first->fullSizeBytes();
        for (const Size& size : e->sizes)
            if (size.walk) bytes += size.walk->fullSizeBytes();
    }
    return bytes;
}

}  // namespace wt::win32
