#include <algorithm>
#include <cmath>

#include "resources/gbk.h"
#include "ui/win32/win32_platform.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"WiringTrainerWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

layout::Rect rectOf(const form::Geometry& g) {
    return {g.left, g.top, std::max(0, g.width), std::max(0, g.height)};
}

layout::Size atDpi(layout::Size stored, int dpi) {
    return {static_cast<int>(std::lround(stored.width * dpi / 96.0)),
            static_cast<int>(std::lround(stored.height * dpi / 96.0))};
}

// Where a window of stored client size `stored` opens: on the monitor at (50, 50), at that
// monitor's DPI, uniformly smaller, frame included, when its work area cannot take it.
layout::Placement placement(layout::Size stored) {
    const POINT preferred{50, 50};
    HMONITOR monitor = MonitorFromPoint(preferred, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& w = info.rcWork;
    const int dpi = dpiOfMonitor(monitor);
    return layout::placeWindow(atDpi(stored, dpi), frameMargins(kStyle, kExStyle, dpi),
                               layout::Rect{w.left, w.top, w.right - w.left, w.bottom - w.top},
                               layout::Point{preferred.x, preferred.y});
}

COLORREF marginColor() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto darker = [](int c) { return c * 100 / 115; };
    return RGB(darker(GetRValue(face)), darker(GetGValue(face)), darker(GetBValue(face)));
}

void fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

void registerFormWindowClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FormWindow::proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
}

FormWindow::FormWindow(Win32Platform& platform, Ui& ui, WindowRef model, const std::wstring& title)
    : platform_(platform), ui_(ui), model_(std::move(model)) {
    const form::ControlRecord& own = model_->block().window();
    stored_ = {std::max(1, own.geometry.width), std::max(1, own.geometry.height)};
    stops_ = focus::stops(model_->block());
    // Built at the size it opens at, so that no picture is made at a size never shown.
    const layout::Placement at = placement(stored_);
    const int dpi = dpiOfMonitor(MonitorFromPoint(POINT{50, 50}, MONITOR_DEFAULTTOPRIMARY));
    const layout::Margins frame = frameMargins(kStyle, kExStyle, dpi);
    CreateWindowExW(kExStyle, kFormClass, title.c_str(), kStyle, at.framePos.x, at.framePos.y,
                    at.client.width + frame.left + frame.right,
                    at.client.height + frame.top + frame.bottom, nullptr, nullptr,
                    platform.instance(), this);
    if (hwnd_ == nullptr) return;
    build();
    building_ = false;
    relayout();
}

FormWindow::~FormWindow() {
    // Later records first: a picture box's controls go before the box.
    while (!controls_.empty()) controls_.pop_back();
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void FormWindow::build() {
    const std::size_t n = model_->size();
    controls_.resize(n);
    for (std::size_t i = 1; i < n; ++i) {
        const int index = static_cast<int>(i);
        const ControlState state = model_->state(index);
        HWND parent = hwnd_;
        if (state.parent > 0 && state.parent < index && controls_[state.parent])
            parent = controls_[state.parent]->hwnd();
        const int stop = focus::stopOf(stops_, index);
        const std::string spoken = stop >= 0 ? stops_[stop].spoken : utf8(state.record->nameGbk);
        std::unique_ptr<Control> c;
        switch (state.record->kind) {
            case form::Kind::Label:
                c = state.record->isWireBar() ? makeWireBar(*this, index, state, parent)
                                              : makeLabel(*this, index, state, parent);
                break;
            case form::Kind::Button:
                c = makeButton(*this, index, state, parent, spoken);
                break;
            case form::Kind::PictureBox:
                c = makePictureBox(*this, index, state, parent);
                break;
            case form::Kind::CheckBox:
                c = makeCheckBox(*this, index, state, parent, spoken);
                break;
            case form::Kind::TransparentLabel:
                c = makeClickArea(*this, index, state, parent, spoken);
                break;
            case form::Kind::Window:
                break;
        }
        if (c && c->hwnd() != nullptr && state.visible) ShowWindow(c->hwnd(), SW_SHOWNA);
        controls_[i] = std::move(c);
    }
}

void FormWindow::relayout() {
    RECT client;
    GetClientRect(hwnd_, &client);
    fit_ = layout::fitContent(stored_, layout::Size{client.right, client.bottom});
    const layout::Rect content = fit_.map(layout::Rect{0, 0, stored_.width, stored_.height});
    content_ =
        RECT{content.left, content.top, content.left + content.width, content.top + content.height};
    const auto& records = model_->block().records;
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        Control* c = controls_[i].get();
        if (c == nullptr || c->hwnd() == nullptr) continue;
        const layout::Rect stored = rectOf(records[i].geometry);
        const layout::Rect r =
            GetParent(c->hwnd()) == hwnd_ ? fit_.map(stored) : fit_.mapInside(stored);
        SetWindowPos(c->hwnd(), nullptr, r.left, r.top, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        c->rescaled();
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FormWindow::show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

Control* FormWindow::control(int index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= controls_.size()) return nullptr;
    return controls_[index].get();
}

bool FormWindow::binds(int index, std::int32_t event) const {
    return model_->binds(index, event);
}

void FormWindow::fire(int index, std::int32_t event, int x, int y, int keys) {
    if (closed_) return;
    ui_.fire(model_, index, event, x, y, keys);
}

void FormWindow::apply(int index, int prop) {
    Control* c = control(index);
    if (c == nullptr || c->hwnd() == nullptr) return;
    const ControlState state = model_->state(index);
    if (prop == prop::Visible) {
        // The window's own flag: IsWindowVisible says no for every control of a window that
        // is not shown yet.
        const bool shown = (GetWindowLongPtrW(c->hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != state.visible) ShowWindow(c->hwnd(), state.visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    c->apply(prop, state);
}

void FormWindow::restyle() {
    for (auto& c : controls_)
        if (c) c->restyled();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FormWindow::pictures(std::vector<std::span<const std::uint8_t>>& files) const {
    const auto& background = model_->block().window().picture;
    if (!background.empty()) files.push_back(background);
    for (const auto& c : controls_)
        if (c) c->pictures(files);
}

// --- Painting --------------------------------------------------------------------------------

void FormWindow::paintBackground(HDC dc, POINT origin, const RECT& area) const {
    // `dc` shows the client area moved by -origin; `area` is the part to fill, in dc's terms.
    fill(dc, area, marginColor());
    const int w = content_.right - content_.left, h = content_.bottom - content_.top;
    const auto& background = model_->block().window().picture;
    HBITMAP bitmap =
        background.empty() ? nullptr : platform_.pictures().scaled(background, 0, w, h);
    if (bitmap == nullptr) {
        RECT r = content_;
        OffsetRect(&r, -origin.x, -origin.y);
        fill(dc, r, GetSysColor(COLOR_BTNFACE));
        return;
    }
    // Only the part under `area`.
    RECT part = area;
    OffsetRect(&part, origin.x - content_.left, origin.y - content_.top);
    RECT whole{0, 0, w, h};
    if (!IntersectRect(&part, &part, &whole)) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, part.left + content_.left - origin.x, part.top + content_.top - origin.y,
               part.right - part.left, part.bottom - part.top, source, part.left, part.top,
               part.right - part.left, part.bottom - part.top, blend);
    SelectObject(source, old);
    DeleteDC(source);
}

void FormWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    {
        BufferedPaint buffer(dc, client.right, client.bottom);
        paintBackground(buffer.dc(), POINT{0, 0}, client);
    }
    EndPaint(hwnd_, &ps);
}

// --- Keyboard --------------------------------------------------------------------------------

void FormWindow::setKeyboardCues(bool on) {
    if (keyboardCues_ == on) return;
    keyboardCues_ = on;
    if (HWND focused = GetFocus(); focused != nullptr && IsChild(hwnd_, focused))
        InvalidateRect(focused, nullptr, FALSE);
}

int FormWindow::focusedStop() const {
    Control* c = Control::of(GetFocus());
    if (c == nullptr || &c->window() != this) return -1;
    return focus::stopOf(stops_, c->index());
}

void FormWindow::focusStop(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= stops_.size()) return;
    Control* c = control(stops_[position].index);
    if (c == nullptr) return;
    setKeyboardCues(true);
    SetFocus(c->hwnd());
}

void FormWindow::tab(bool backwards) {
    const int n = static_cast<int>(stops_.size());
    if (n == 0) return;
    const int from = focusedStop();
    for (int k = 1; k <= n; ++k) {
        int pos = from < 0 ? (backwards ? n - k : k - 1) : from + (backwards ? -k : k);
        pos = ((pos % n) + n) % n;
        Control* c = control(stops_[pos].index);
        if (c != nullptr && IsWindowVisible(c->hwnd()) && IsWindowEnabled(c->hwnd())) {
            focusStop(pos);
            return;
        }
    }
}

void FormWindow::arrow(focus::Direction direction) {
    const int from = focusedStop();
    focusStop(from < 0 ? 0 : focus::nearest(stops_, from, direction));
}

// --- Window procedure ------------------------------------------------------------------------

LRESULT CALLBACK FormWindow::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return self->message(msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT FormWindow::message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            if (!building_ && wp != SIZE_MINIMIZED) relayout();
            return 0;
        case WM_GETMINMAXINFO: {
            // The learner may resize or maximise the window; the content keeps its proportions.
            const int dpi = dpiOfWindow(hwnd_);
            const layout::Size smallest = atDpi({stored_.width / 4, stored_.height / 4}, dpi);
            const layout::Margins frame = frameMargins(kStyle, kExStyle, dpi);
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = smallest.width + frame.left + frame.right;
            info->ptMinTrackSize.y = smallest.height + frame.top + frame.bottom;
            return 0;
        }
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lp);
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            relayout();
            return 0;
        }
        case WM_CLOSE:
            // While a dialog-mode window or a message box is open this window refuses closing.
            if (IsWindowEnabled(hwnd_) && !closed_) platform_.windowClosing(this);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                if (HWND f = GetFocus(); f != nullptr && IsChild(hwnd_, f)) lastFocus_ = f;
            } else {
                SetFocus(lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)
                             ? lastFocus_
                             : hwnd_);
            }
            return 0;
        case WM_KEYDOWN:
            setKeyboardCues(true);
            if (wp == VK_TAB) {
                tab(GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            if (wp == VK_LEFT || wp == VK_RIGHT || wp == VK_UP || wp == VK_DOWN) {
                focusStop(0);
                return 0;
            }
            break;
        case WM_COMMAND:
        case WM_DRAWITEM:
            if (LRESULT result = 0; routeToChild(msg, wp, lp, result)) return result;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace wt::win32
