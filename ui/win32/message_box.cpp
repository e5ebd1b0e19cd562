// The program's own message box: the system's says "OK" on an English Windows, and the program's
// one button reads "确定" on every display language. The box is as wide as its whole title
// needs, has no minimise or maximise box, and answers OK to the button, Enter, Escape and its
// close box alike.
#include <windows.h>
// After windows.h, which it builds on.
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

constexpr wchar_t kBoxClass[] = L"WiringTrainerMessage";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kTextId = 100;

struct Box {
    std::function<void()> done;
    HFONT font = nullptr;
    HWND button = nullptr;
    bool finished = false;
};

Box* boxOf(HWND hwnd) {
    return reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void finish(HWND hwnd) {
    Box* box = boxOf(hwnd);
    if (box == nullptr || box->finished) return;
    box->finished = true;
    // The caller's windows are enabled again before the box goes, so that one of them, not
    // another program, becomes active.
    if (box->done) std::exchange(box->done, nullptr)();
    DestroyWindow(hwnd);
}

LRESULT CALLBACK boxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
            break;
        case DM_GETDEFID:
            return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) finish(hwnd);
            return 0;
        case WM_CLOSE:
            finish(hwnd);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE)
                if (Box* box = boxOf(hwnd); box != nullptr && box->button != nullptr)
                    SetFocus(box->button);
            return 0;
        case WM_NCDESTROY:
            if (Box* box = boxOf(hwnd)) {
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
                // Destroyed from outside: the caller goes on as after OK.
                if (box->done) std::exchange(box->done, nullptr)();
                if (box->font != nullptr) DeleteObject(box->font);
                delete box;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void registerOnce(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return;
    registered = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = boxProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBoxClass;
    RegisterClassExW(&wc);
}

SIZE measure(HDC dc, HFONT font, const std::wstring& text, int maxWidth, UINT flags) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | flags);
    SelectObject(dc, old);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

bool isMessageWindow(HWND hwnd) {
    wchar_t name[64] = {};
    return hwnd != nullptr && GetClassNameW(hwnd, name, 64) > 0 && lstrcmpW(name, kBoxClass) == 0;
}

HWND showMessageWindow(HINSTANCE instance, const std::wstring& text, const std::wstring& title,
                       bool classic, bool activate, std::function<void()> done) {
    registerOnce(instance);
    // On the monitor of the window the learner works in.
    HWND active = GetForegroundWindow();
    HMONITOR monitor = MonitorFromWindow(active, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const int dpi = dpiOfMonitor(monitor);
    const double s = dpi / 96.0;
    auto px = [s](int v) { return static_cast<int>(std::lround(v * s)); };

    auto* box = new Box{std::move(done), makeFont(nullptr, s * 1.1), nullptr, false};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfCaptionFont.lfHeight = static_cast<LONG>(std::lround(
        metrics.lfCaptionFont.lfHeight * s * 96.0 / std::max(1, dpiOfMonitor(nullptr))));
    HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    const int workWidth = info.rcWork.right - info.rcWork.left;
    const SIZE textSize =
        measure(dc, box->font, text, std::max(px(200), workWidth / 2), DT_WORDBREAK);
    const SIZE okSize = measure(dc, box->font, L"确定", workWidth, DT_SINGLELINE);
    const SIZE titleSize = measure(dc, captionFont, title, workWidth, DT_SINGLELINE);
    const int textW = textSize.cx, textH = textSize.cy;
    ReleaseDC(nullptr, dc);
    DeleteObject(captionFont);

    const int margin = px(16);
    const int buttonW = std::max(px(80), static_cast<int>(okSize.cx) + px(24));
    const int buttonH = std::max(px(26), static_cast<int>(okSize.cy) + px(10));
    // The title bar holds the title, the close box and some room on either side.
    const int titleNeed =
        static_cast<int>(titleSize.cx) + systemMetric(SM_CXSIZE, dpi) + 3 * margin;
    const int clientW = std::max({textW + 2 * margin, buttonW + 2 * margin, titleNeed, px(180)});
    const int clientH = margin + textH + margin + buttonH + margin;
    const layout::Margins frame = frameMargins(kStyle, kExStyle, dpi);
    const int outerW = clientW + frame.left + frame.right;
    const int outerH = clientH + frame.top + frame.bottom;
    const RECT& work = info.rcWork;
    const int x = work.left + std::max<LONG>(0, (work.right - work.left - outerW) / 2);
    const int y = work.top + std::max<LONG>(0, (work.bottom - work.top - outerH) / 2);

    HWND hwnd = CreateWindowExW(kExStyle, kBoxClass, title.c_str(), kStyle, x, y, outerW, outerH,
                                nullptr, nullptr, instance, box);
    if (hwnd == nullptr) {
        if (box->done) box->done();
        DeleteObject(box->font);
        delete box;
        return nullptr;
    }
    HWND label = CreateWindowExW(
        0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, margin, margin, textW,
        textH, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)), instance, nullptr);
    box->button = CreateWindowExW(
        0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        (clientW - buttonW) / 2, margin + textH + margin, buttonW, buttonH, hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    for (HWND child : {label, box->button})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(box->font), FALSE);
    if (classic) SetWindowTheme(box->button, L"", L"");
    if (!activate) {
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return hwnd;
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(box->button);
    return hwnd;
}

}  // namespace wt::win32
