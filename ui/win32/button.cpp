// Buttons: picture buttons (terminals, push-buttons) drawn by the binding from their picture at
// device pixels, sinking by a pixel while pressed, and plain text buttons (the menu) drawn by
// the system in the present look. Press and release reach the model as mouseDown/mouseUp where
// bound, in the order down, up, clicked; from the keyboard, Space or Enter going down is the
// press and coming up the release, so holding Space holds a push-button.
#include <windows.h>
// After windows.h, which they build on.
#include <uxtheme.h>
#include <windowsx.h>

#include "ui/win32/win32_platform.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

class Button final : public Control {
  public:
    Button(FormWindow& window, int index, const ControlState& state, HWND parent,
           const std::string& spoken)
        : Control(window, index),
          record_(*state.record),
          picture_(record_.picture),
          down_(window.binds(index, form::kEventMouseDown)),
          up_(window.binds(index, form::kEventMouseUp)),
          clicked_(window.binds(index, form::kEventClicked)) {
        const DWORD kind = picture_.empty() ? BS_PUSHBUTTON : BS_OWNERDRAW;
        create(L"BUTTON", kind | WS_TABSTOP, 0, parent, wideFromUtf8(spoken));
        if (picture_.empty() && hwnd_ != nullptr && !window.platform().themed())
            SetWindowTheme(hwnd_, L"", L"");
    }
    ~Button() override {
        if (font_ != nullptr) DeleteObject(font_);
    }

    void rescaled() override {
        if (!picture_.empty()) return;
        HFONT font = makeFont(record_.font ? &*record_.font : nullptr, window_.fit().scale);
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (font_ != nullptr) DeleteObject(font_);
        font_ = font;
    }

    void restyled() override {
        if (picture_.empty()) SetWindowTheme(hwnd_, nullptr, nullptr);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void pictures(std::vector<std::span<const std::uint8_t>>& files) const override {
        if (!picture_.empty()) files.push_back(picture_);
    }

    void keyDown() override {
        if (held_) return;
        held_ = true;
        SendMessageW(hwnd_, BM_SETSTATE, TRUE, 0);
        if (down_) window_.fire(index_, form::kEventMouseDown);
    }

    void keyUp() override {
        if (!held_) return;
        held_ = false;
        if (up_) window_.fire(index_, form::kEventMouseUp);
        SendMessageW(hwnd_, BM_SETSTATE, FALSE, 0);
        // A menu button's click runs a nested loop until its exercise window closes.
        if (clicked_) window_.fire(index_, form::kEventClicked);
    }

    void focusLost() override {
        // A held button lets go when the focus leaves it, as the mouse would, without a click.
        if (!held_) return;
        held_ = false;
        if (up_) window_.fire(index_, form::kEventMouseUp);
        SendMessageW(hwnd_, BM_SETSTATE, FALSE, 0);
    }

    void command(WORD code) override {
        if (code == BN_CLICKED && clicked_) window_.fire(index_, form::kEventClicked);
    }

    void drawItem(const DRAWITEMSTRUCT& item) override {
        const RECT& r = item.rcItem;
        BufferedPaint buffer(item.hDC, r.right - r.left, r.bottom - r.top);
        paintBeneath(buffer.dc());
        const int shift = (item.itemState & ODS_SELECTED) ? 1 : 0;
        drawBitmap(
            buffer.dc(),
            window_.platform().pictures().scaled(picture_, 0, r.right - r.left, r.bottom - r.top),
            shift, shift);
        if (showsFocusMark()) drawFocusMark(buffer.dc(), r);
    }

    LRESULT message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_LBUTTONDBLCLK:
                // Quick clicks on a terminal are clicks each.
                return message(WM_LBUTTONDOWN, wp, lp);
            case WM_LBUTTONDOWN: {
                window_.setKeyboardCues(false);
                const LRESULT result = base(msg, wp, lp);
                if (down_) fireMouse(form::kEventMouseDown, lp, wp);
                return result;
            }
            case WM_LBUTTONUP:
                if (up_ && GetCapture() == hwnd_) fireMouse(form::kEventMouseUp, lp, wp);
                return base(msg, wp, lp);
            case WM_PAINT:
                if (picture_.empty()) {
                    const LRESULT result = base(msg, wp, lp);
                    if (showsFocusMark()) {
                        HDC dc = GetDC(hwnd_);
                        RECT r;
                        GetClientRect(hwnd_, &r);
                        drawFocusMark(dc, r);
                        ReleaseDC(hwnd_, dc);
                    }
                    return result;
                }
                break;
            case WM_ERASEBKGND:
                if (picture_.empty()) return base(msg, wp, lp);
                return 1;
            default:
                break;
        }
        return Control::message(msg, wp, lp);
    }

  private:
    const form::ControlRecord& record_;
    const std::span<const std::uint8_t> picture_;
    const bool down_, up_, clicked_;
    bool held_ = false;
    HFONT font_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> makeButton(FormWindow& window, int index, const ControlState& state,
                                    HWND parent, const std::string& spoken) {
    return std::make_unique<Button>(window, index, state, parent, spoken);
}

}  // namespace wt::win32
