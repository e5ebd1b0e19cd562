// A wire segment: a thin bar in its three colours, edge, middle stripe, edge, across its
// thickness. No caption is drawn.
#include <algorithm>

#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

class WireBar final : public Control {
  public:
    WireBar(FormWindow& window, int index, const ControlState& state, HWND parent)
        : Control(window, index), record_(*state.record) {
        create(nullptr, 0, 0, parent, wideFromGbk(record_.nameGbk));
    }

    LRESULT message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_PAINT) return Control::message(msg, wp, lp);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT r;
        GetClientRect(hwnd_, &r);
        const bool across = r.right >= r.bottom;  // horizontal bar: stripes run along it
        const int thickness = across ? r.bottom : r.right;
        const int edge = thickness >= 3 ? std::max(1, thickness / 4) : 0;
        fill(dc, r, record_.barColors[1]);
        if (edge > 0) {
            if (across) {
                fill(dc, RECT{0, 0, r.right, edge}, record_.barColors[0]);
                fill(dc, RECT{0, r.bottom - edge, r.right, r.bottom}, record_.barColors[2]);
            } else {
                fill(dc, RECT{0, 0, edge, r.bottom}, record_.barColors[0]);
                fill(dc, RECT{r.right - edge, 0, r.right, r.bottom}, record_.barColors[2]);
            }
        }
        EndPaint(hwnd_, &ps);
        return 0;
    }

  private:
    static void fill(HDC dc, const RECT& r, std::uint32_t bgr) {
        HBRUSH brush = CreateSolidBrush(colorOf(bgr));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }

    const form::ControlRecord& record_;
};

}  // namespace

std::unique_ptr<Control> makeWireBar(FormWindow& window, int index, const ControlState& state,
                                     HWND parent) {
    return std::make_unique<WireBar>(window, index, state, parent);
}

}  // namespace wt::win32
