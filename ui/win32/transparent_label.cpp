// The invisible click area over the power-switch picture: draws nothing but, with the keyboard
// focus, the focus mark; reports the left button going down, and Space or Enter going down.
#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

class ClickArea final : public Control {
  public:
    ClickArea(FormWindow& window, int index, HWND parent, const std::string& spoken)
        : Control(window, index) {
        create(nullptr, WS_TABSTOP, 0, parent, wideFromUtf8(spoken));
    }

    void keyDown() override { window_.fire(index_, form::kEventMouseDown); }

    LRESULT message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_PAINT:
                bufferedPaint([&](HDC dc, RECT r) {
                    if (showsFocusMark()) drawFocusMark(dc, r);
                });
                return 0;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                window_.setKeyboardCues(false);
                SetFocus(hwnd_);
                fireMouse(form::kEventMouseDown, lp, wp);
                return 0;
            default:
                break;
        }
        return Control::message(msg, wp, lp);
    }
};

}  // namespace

std::unique_ptr<Control> makeClickArea(FormWindow& window, int index, const ControlState&,
                                       HWND parent, const std::string& spoken) {
    return std::make_unique<ClickArea>(window, index, parent, spoken);
}

}  // namespace wt::win32
