// A label with a caption (the status label, the menu's texts): filled with its back colour, the
// text wrapped at the label's width in its text colour. A system STATIC window, painted here,
// whose window text is its caption: screen readers know it as static text and read the status
// as it changes.
#include "ui/colour.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

class TextLabel final : public Control {
  public:
    TextLabel(FormWindow& window, int index, const ControlState& state, HWND parent)
        : Control(window, index),
          record_(*state.record),
          caption_(wideFromGbk(state.caption)),
          color_(static_cast<std::uint32_t>(state.textColor)) {
        create(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, parent, caption_);
    }
    ~TextLabel() override {
        if (font_ != nullptr) DeleteObject(font_);
    }

    void apply(int prop, const ControlState& state) override {
        if (prop == prop::Caption) {
            std::wstring caption = wideFromGbk(state.caption);
            if (caption == caption_) return;
            caption_ = std::move(caption);
            SetWindowTextW(hwnd_, caption_.c_str());
        } else if (prop == prop::TextColor) {
            const auto color = static_cast<std::uint32_t>(state.textColor);
            if (color == color_) return;
            color_ = color;
        } else {
            return;
        }
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    void rescaled() override {
        if (font_ != nullptr) DeleteObject(font_);
        font_ = makeFont(record_.font ? &*record_.font : nullptr, window_.fit().scale);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    LRESULT message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            bufferedPaint([&](HDC dc, RECT r) {
                HBRUSH back = CreateSolidBrush(colorOf(record_.backColor));
                FillRect(dc, &r, back);
                DeleteObject(back);
                HGDIOBJ old = SelectObject(dc, font_);
                SetBkMode(dc, TRANSPARENT);
                constexpr UINT kFlags = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
                const int length = static_cast<int>(caption_.size());
                // A colour that reads poorly on the back colour gets a thin outline: the text
                // drawn once each way around, a pixel off, under the text itself.
                if (const auto around = colour::outlineFor(color_, record_.backColor)) {
                    SetTextColor(dc, colorOf(*around));
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            if (dx == 0 && dy == 0) continue;
                            RECT off = r;
                            OffsetRect(&off, dx, dy);
                            DrawTextW(dc, caption_.c_str(), length, &off, kFlags);
                        }
                }
                SetTextColor(dc, colorOf(color_));
                DrawTextW(dc, caption_.c_str(), length, &r, kFlags);
                SelectObject(dc, old);
            });
            return 0;
        }
        return Control::message(msg, wp, lp);
    }

  private:
    const form::ControlRecord& record_;
    std::wstring caption_;
    std::uint32_t color_;  // as the model keeps it
    HFONT font_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> makeLabel(FormWindow& window, int index, const ControlState& state,
                                   HWND parent) {
    return std::make_unique<TextLabel>(window, index, state, parent);
}

}  // namespace wt::win32
