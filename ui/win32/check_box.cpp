// The edit-wire check box: ticks on a click anywhere in its stored rectangle (most windows store
// it without a caption), on Space and on Enter; only its `checked` property changes, no event
// fires. Drawn by the binding in the classic or the themed look over the diagram. A system
// check box underneath, so that accessibility knows it as one; its window text is its accessible
// name (not drawn: most windows show 修改线 in the diagram itself).
#include <windows.h>
// After windows.h, which they build on.
#include <uxtheme.h>
#include <vssym32.h>

#include <cmath>

#include "ui/win32/win32_platform.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

class CheckBox final : public Control {
  public:
    CheckBox(FormWindow& window, int index, const ControlState& state, HWND parent,
             const std::string& spoken)
        : Control(window, index),
          record_(*state.record),
          caption_(wideFromGbk(state.caption)),
          checked_(state.checked) {
        // A system check box to the system's accessibility (its class and style say what it
        // is); everything it would draw or decide, the binding does.
        create(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, parent, wideFromUtf8(spoken));
    }
    ~CheckBox() override {
        if (font_ != nullptr) DeleteObject(font_);
    }

    void apply(int prop, const ControlState& state) override {
        if (prop != prop::Checked || state.checked == checked_) return;
        checked_ = state.checked;
        changed();
    }

    void rescaled() override {
        if (font_ != nullptr) DeleteObject(font_);
        font_ = makeFont(record_.font ? &*record_.font : nullptr, window_.fit().scale);
    }

    void restyled() override { InvalidateRect(hwnd_, nullptr, FALSE); }
    void keyUp() override { toggle(); }

    LRESULT message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_PAINT:
                bufferedPaint([&](HDC dc, RECT r) { paint(dc, r); });
                return 0;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                window_.setKeyboardCues(false);
                SetFocus(hwnd_);
                SetCapture(hwnd_);
                pressed_ = true;
                return 0;
            case WM_LBUTTONUP: {
                if (!pressed_) return 0;
                pressed_ = false;
                ReleaseCapture();
                RECT r;
                GetClientRect(hwnd_, &r);
                const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
                if (PtInRect(&r, p)) toggle();
                return 0;
            }
            case WM_CAPTURECHANGED:
                pressed_ = false;
                return 0;
            case BM_GETCHECK:
                return checked_ ? BST_CHECKED : BST_UNCHECKED;
            case BM_GETSTATE:
                return (checked_ ? BST_CHECKED : BST_UNCHECKED) |
                       (GetFocus() == hwnd_ ? BST_FOCUS : 0);
            case BM_SETCHECK:
                if ((wp == BST_CHECKED) != checked_) {
                    checked_ = wp == BST_CHECKED;
                    changed();
                }
                return 0;
            case BM_CLICK:
                toggle();
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
            case WM_ENABLE:
            case WM_UPDATEUISTATE:
            case WM_THEMECHANGED:
                // The system class would draw itself here.
                InvalidateRect(hwnd_, nullptr, FALSE);
                return 0;
            case WM_MOUSEMOVE:
            case WM_MOUSELEAVE:
            case BM_SETSTATE:
            case WM_SETFONT:
                return 0;
            default:
                break;
        }
        return Control::message(msg, wp, lp);
    }

  private:
    void toggle() {
        checked_ = !checked_;
        window_.model()->userSetChecked(index_, checked_);
        changed();
    }

    void changed() {
        InvalidateRect(hwnd_, nullptr, FALSE);
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    }

    void paint(HDC dc, const RECT& r) {
        const int size = std::max(8, static_cast<int>(std::lround(13 * window_.fit().scale)));
        const int top = (r.bottom - size) / 2;
        RECT glyph{2, top, 2 + size, top + size};
        bool drawn = false;
        if (window_.platform().themed() && IsThemeActive())
            if (HTHEME theme = OpenThemeData(hwnd_, L"BUTTON")) {
                DrawThemeBackground(theme, dc, BP_CHECKBOX,
                                    checked_ ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, &glyph,
                                    nullptr);
                CloseThemeData(theme);
                drawn = true;
            }
        if (!drawn)
            DrawFrameControl(dc, &glyph, DFC_BUTTON,
                             DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0));
        if (!caption_.empty()) {
            RECT text{glyph.right + size / 3, 0, r.right, r.bottom};
            HGDIOBJ old = SelectObject(dc, font_);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
        }
        if (showsFocusMark()) drawFocusMark(dc, r);
    }

    const form::ControlRecord& record_;
    const std::wstring caption_;
    bool checked_;
    bool pressed_ = false;
    HFONT font_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> makeCheckBox(FormWindow& window, int index, const ControlState& state,
                                      HWND parent, const std::string& spoken) {
    return std::make_unique<CheckBox>(window, index, state, parent, spoken);
}

}  // namespace wt::win32
