#include "ui/win32/win32_private.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "resources/gbk.h"

namespace wt::win32 {

std::wstring wideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::wstring wideFromGbk(std::string_view text) {
    return wideFromUtf8(utf8(text));
}

HFONT makeFont(const form::FontRecord* record, double scale) {
    LOGFONTW f{};
    // A negative LOGFONT height is the character height; a positive one the cell height, of
    // which the character takes about seven eighths. Without a record: 12 pixels at 96 DPI.
    int px = 12;
    if (record != nullptr && record->height != 0) {
        px = std::abs(record->height);
        if (record->height > 0) px = px * 7 / 8;
    }
    f.lfHeight = -std::max(1, static_cast<int>(std::lround(px * scale)));
    f.lfCharSet = GB2312_CHARSET;
    f.lfQuality = CLEARTYPE_QUALITY;
    f.lfWeight = FW_NORMAL;
    std::wstring face = kChineseFace;
    if (record != nullptr) {
        if (record->weight > 0) f.lfWeight = std::clamp(record->weight, 100, 900);
        f.lfItalic = record->italic;
        f.lfUnderline = record->underline;
        f.lfStrikeOut = record->strikeOut;
        if (!record->faceGbk.empty()) face = wideFromGbk(record->faceGbk);
    }
    face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    std::copy(face.begin(), face.end(), f.lfFaceName);
    return CreateFontIndirectW(&f);
}

// --- DPI -------------------------------------------------------------------------------------

namespace {

template <class F>
F lookUp(const wchar_t* module, const char* name) {
    HMODULE m = GetModuleHandleW(module);
    if (m == nullptr) m = LoadLibraryW(module);
    if (m == nullptr) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

int screenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc != nullptr) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void enableDpiAwareness() {
    // Per-monitor v2 (Windows 10 1703), else per-monitor (8.1), else system-wide (Vista).
    using Context = BOOL(WINAPI*)(HANDLE);
    if (auto set = lookUp<Context>(L"user32.dll", "SetProcessDpiAwarenessContext"))
        if (set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
    using Awareness = HRESULT(WINAPI*)(int);
    if (auto set = lookUp<Awareness>(L"shcore.dll", "SetProcessDpiAwareness"))
        if (SUCCEEDED(set(2))) return;
    SetProcessDPIAware();
}

int dpiOfWindow(HWND hwnd) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = lookUp<ForWindow>(L"user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr && hwnd != nullptr)
        if (const UINT dpi = forWindow(hwnd); dpi > 0) return static_cast<int>(dpi);
    return screenDpi();
}

int dpiOfMonitor(HMONITOR monitor) {
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = lookUp<ForMonitor>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor != nullptr && monitor != nullptr && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) &&
        x > 0)
        return static_cast<int>(x);
    return screenDpi();
}

layout::Margins frameMargins(DWORD style, DWORD exStyle, int dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = lookUp<Adjust>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, 0, 0};
    if (adjust == nullptr || !adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {-r.left, -r.top, r.right, r.bottom};
}

int systemMetric(int index, int dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = lookUp<ForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

// --- Drawing ---------------------------------------------------------------------------------

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    if (bitmap == nullptr) return;
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight,
               blend);
    SelectObject(source, old);
    DeleteDC(source);
}

void drawFocusMark(HDC dc, const RECT& r) {
    // Black outside, yellow inside: one of the two stands out on the white paper, the dark wires
    // and the coloured pictures alike.
    constexpr int kRing = 2;
    if (r.right - r.left < 4 * kRing || r.bottom - r.top < 4 * kRing) return;
    auto ring = [&](RECT o, COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        const RECT sides[] = {{o.left, o.top, o.right, o.top + kRing},
                              {o.left, o.bottom - kRing, o.right, o.bottom},
                              {o.left, o.top, o.left + kRing, o.bottom},
                              {o.right - kRing, o.top, o.right, o.bottom}};
        for (const RECT& side : sides) FillRect(dc, &side, brush);
        DeleteObject(brush);
    };
    ring(r, RGB(0, 0, 0));
    ring(RECT{r.left + kRing, r.top + kRing, r.right - kRing, r.bottom - kRing}, RGB(255, 214, 0));
}

BufferedPaint::BufferedPaint(HDC target, int width, int height)
    : target_(target),
      dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, std::max(1, width), std::max(1, height))),
      old_(static_cast<HBITMAP>(SelectObject(dc_, bitmap_))),
      width_(width),
      height_(height) {}

BufferedPaint::~BufferedPaint() {
    BitBlt(target_, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

}  // namespace wt::win32
