#include <windows.h>
#include <windowsx.h>

#include "ui/win32/win32_platform.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {

namespace {

int keyMask() {
    return (GetKeyState(VK_CONTROL) < 0 ? 1 : 0) | (GetKeyState(VK_SHIFT) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

bool activationKey(WPARAM key) {
    return key == VK_SPACE || key == VK_RETURN;
}

}  // namespace

void registerControlClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window by Control::create
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kControlClass;
    RegisterClassExW(&wc);
}

bool routeToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND) {
        Control* child = Control::of(reinterpret_cast<HWND>(lp));
        if (child == nullptr) return false;
        child->command(HIWORD(wp));
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        Control* child = Control::of(item->hwndItem);
        if (child == nullptr) return false;
        child->drawItem(*item);
        result = TRUE;
        return true;
    }
    return false;
}

Control::~Control() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

Control* Control::of(HWND hwnd) {
    return hwnd != nullptr ? reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))
                           : nullptr;
}

void Control::create(const wchar_t* systemClass, DWORD style, DWORD exStyle, HWND parent,
                     const std::wstring& text) {
    const bool own = systemClass == nullptr;
    // Created hidden at no size: the form window places every control once all exist.
    hwnd_ = CreateWindowExW(exStyle, own ? kControlClass : systemClass, text.c_str(),
                            WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent, nullptr,
                            window_.platform().instance(), nullptr);
    if (hwnd_ == nullptr) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    base_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::proc)));
    if (own) base_ = nullptr;
    // Later records lie above earlier ones.
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK Control::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (Control* c = of(hwnd)) return c->message(msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Control::base(UINT msg, WPARAM wp, LPARAM lp) {
    return base_ != nullptr ? CallWindowProcW(base_, hwnd_, msg, wp, lp)
                            : DefWindowProcW(hwnd_, msg, wp, lp);
}

void Control::fireMouse(std::int32_t event, LPARAM lp, WPARAM) {
    const layout::Point stored = layout::ContentFit{
        window_.fit().scale, {}}.toStored(layout::Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    window_.fire(index_, event, stored.x, stored.y, keyMask());
}

bool Control::showsFocusMark() const {
    return window_.keyboardCues() && GetFocus() == hwnd_;
}

void Control::paintBeneath(HDC dc) const {
    RECT r;
    GetClientRect(hwnd_, &r);
    HWND parent = GetParent(hwnd_);
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, window_.hwnd(), &origin, 1);
    window_.paintBackground(dc, origin, r);
    // Inside a picture box: its picture shows through too.
    if (Control* box = parent != window_.hwnd() ? of(parent) : nullptr) {
        POINT inBox{0, 0};
        MapWindowPoints(hwnd_, parent, &inBox, 1);
        const int saved = SaveDC(dc);
        SetViewportOrgEx(dc, -inBox.x, -inBox.y, nullptr);
        RECT area{inBox.x, inBox.y, inBox.x + r.right, inBox.y + r.bottom};
        box->paintContent(dc, area);
        RestoreDC(dc, saved);
    }
}

LRESULT Control::message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            window_.setKeyboardCues(true);
            if (wp == VK_TAB) {
                window_.tab(GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            switch (wp) {
                case VK_LEFT:
                    window_.arrow(focus::Direction::Left);
                    return 0;
                case VK_RIGHT:
                    window_.arrow(focus::Direction::Right);
                    return 0;
                case VK_UP:
                    window_.arrow(focus::Direction::Up);
                    return 0;
                case VK_DOWN:
                    window_.arrow(focus::Direction::Down);
                    return 0;
                default:
                    break;
            }
            if (activationKey(wp)) {
                // Auto-repeat is swallowed: a held key is one press and one release.
                if ((lp & (1 << 30)) == 0 && (keyMask() & 5) == 0) keyDown();
                return 0;
            }
            break;
        case WM_KEYUP:
            if (activationKey(wp)) {
                keyUp();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wp == L' ' || wp == L'\r' || wp == L'\t') return 0;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            if (msg == WM_KILLFOCUS) focusLost();
            const LRESULT result = base(msg, wp, lp);
            InvalidateRect(hwnd_, nullptr, FALSE);
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            window_.setKeyboardCues(false);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            // A hand over every control that acts, as over a link: it shows what can be pressed.
            if (LOWORD(lp) == HTCLIENT &&
                focus::acts(window_.model()->block().records[static_cast<std::size_t>(index_)])) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_COMMAND:
        case WM_DRAWITEM:
            if (LRESULT result = 0; routeToChild(msg, wp, lp, result)) return result;
            break;
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return SendMessageW(window_.hwnd(), msg, wp, lp);
        default:
            break;
    }
    return base(msg, wp, lp);
}

}  // namespace wt::win32
