// A picture box: a still picture scaled to the box, or an animated GIF played by the box with
// the file's frame delays and loop count. Frames are made at the box's size in device pixels as
// they come due; the cache holds them, not the full-size frames.
#include "ui/win32/win32_platform.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {
namespace {

class PictureBox final : public Control {
  public:
    PictureBox(FormWindow& window, int index, const ControlState& state, HWND parent)
        : Control(window, index), record_(*state.record) {
        create(nullptr, WS_CLIPCHILDREN, 0, parent, wideFromGbk(record_.nameGbk));
        if (const auto file = mediaFile(state.picture))
            setPicture(*file);
        else
            setPicture(record_.picture);
    }
    ~PictureBox() override {
        if (hwnd_ != nullptr) KillTimer(hwnd_, kAnimationTimer);
    }

    void apply(int prop, const ControlState& state) override {
        if (prop != prop::Picture) return;
        if (const auto file = mediaFile(state.picture))
            setPicture(*file);
        else if (state.picture.empty())
            setPicture(record_.picture);
    }

    void pictures(std::vector<std::span<const std::uint8_t>>& files) const override {
        if (!record_.picture.empty()) files.push_back(record_.picture);
        if (!file_.empty()) files.push_back(file_);
    }

    void rescaled() override {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

    void paintContent(HDC dc, const RECT&) override {
        if (file_.empty()) return;
        RECT r;
        GetClientRect(hwnd_, &r);
        drawBitmap(dc, window_.platform().pictures().scaled(file_, frame_, r.right, r.bottom), 0,
                   0);
    }

    LRESULT message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_PAINT:
                bufferedPaint([&](HDC dc, RECT r) { paintContent(dc, r); });
                return 0;
            case WM_TIMER:
                if (wp == kAnimationTimer) {
                    advance();
                    return 0;
                }
                break;
            default:
                break;
        }
        return Control::message(msg, wp, lp);
    }

  private:
    // A file that is not a valid PNG or GIF leaves the box as it was. A GIF starts from its first
    // frame every time it is set.
    void setPicture(std::span<const std::uint8_t> file) {
        if (file.empty()) return;
        const PictureInfo* info = window_.platform().pictures().info(file);
        if (info == nullptr || info->frameCount == 0) return;
        KillTimer(hwnd_, kAnimationTimer);
        file_ = file;
        info_ = *info;
        frame_ = 0;
        loops_ = 0;
        if (info_.frameCount > 1) schedule();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

    void schedule() {
        const auto& delays = info_.delaysMs;
        int delay = frame_ < static_cast<int>(delays.size()) ? delays[frame_] : 100;
        // As browsers do: a frame without a usable delay shows for a tenth of a second.
        if (delay < 20) delay = 100;
        SetTimer(hwnd_, kAnimationTimer, static_cast<UINT>(delay), nullptr);
    }

    void advance() {
        KillTimer(hwnd_, kAnimationTimer);
        if (frame_ + 1 >= info_.frameCount) {
            ++loops_;
            // A loop count of 0 plays for ever; otherwise the last frame stays.
            if (info_.loopCount > 0 && loops_ >= info_.loopCount) return;
            frame_ = 0;
        } else {
            ++frame_;
        }
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        schedule();
    }

    const form::ControlRecord& record_;
    std::span<const std::uint8_t> file_;
    PictureInfo info_;  // how file_ plays
    int frame_ = 0;
    int loops_ = 0;
};

}  // namespace

std::unique_ptr<Control> makePictureBox(FormWindow& window, int index, const ControlState& state,
                                        HWND parent) {
    return std::make_unique<PictureBox>(window, index, state, parent);
}

}  // namespace wt::win32
