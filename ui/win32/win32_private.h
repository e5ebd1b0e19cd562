// What the Windows binding's files share: text and colour conversion, fonts, DPI look-ups that
// fall back on Windows 7, the focus mark, and the child-window control every control kind is.
// GUI thread only, like everything that touches a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/focus.h"
#include "ui/layout.h"
#include "ui/ui.h"

namespace wt::win32 {

class FormWindow;
class Win32Platform;

// --- Text, colour, fonts ---------------------------------------------------------------------

std::wstring wideFromUtf8(std::string_view utf8);
std::wstring wideFromGbk(std::string_view gbk);
// 0x00BBGGRR as stored in records and properties is already a COLORREF.
inline COLORREF colorOf(std::uint32_t bgr) {
    return static_cast<COLORREF>(bgr & 0xFFFFFF);
}
// The font of a control record (LOGFONT height as character height, scaled by `scale`), or the
// program's default font for controls without one; the caller deletes it.
HFONT makeFont(const form::FontRecord* record, double scale);
// The face the program falls back on for Chinese text.
inline constexpr wchar_t kChineseFace[] = L"Microsoft YaHei";

// --- DPI, looked up at run time (Windows 10 calls, Windows 7 fallbacks) -------------------------

void enableDpiAwareness();
int dpiOfWindow(HWND hwnd);
int dpiOfMonitor(HMONITOR monitor);
// The frame around a client area of this style at `dpi`.
layout::Margins frameMargins(DWORD style, DWORD exStyle, int dpi);
int systemMetric(int index, int dpi);

// --- Drawing ---------------------------------------------------------------------------------

// Draws a 32-bit premultiplied DIB section at (x, y), blending it over what is there.
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
// The keyboard focus mark: black outside, yellow inside, around `r`.
void drawFocusMark(HDC dc, const RECT& r);
// A memory DC the size of a window's client area, copied to the window when it goes.
class BufferedPaint {
  public:
    BufferedPaint(HDC target, int width, int height);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return dc_; }

  private:
    HDC target_, dc_;
    HBITMAP bitmap_, old_;
    int width_, height_;
};

// --- Window messages of the binding ----------------------------------------------------------

inline constexpr UINT kMsgUpdates = WM_APP + 1;  // to the platform's message window
inline constexpr UINT kMsgBoxes = WM_APP + 2;
inline constexpr UINT_PTR kAnimationTimer = 1;
inline constexpr UINT_PTR kActivateTimer = 2;

// --- Controls --------------------------------------------------------------------------------

// One control of a form window: a child window of the form window or of a picture box. Acting
// controls (buttons, the check box, the power switch's click area) take the keyboard: Tab and
// Shift+Tab walk the window's focus order, arrow keys move to the nearest control that way,
// Space and Enter act as the left mouse button does. Their window text is their accessible name.
class Control {
  public:
    Control(FormWindow& window, int index) : window_(window), index_(index) {}
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }
    int index() const { return index_; }
    FormWindow& window() const { return window_; }
    // The model's value of `prop` changed; `state` is the control's state now.
    virtual void apply(int /*prop*/, const ControlState& /*state*/) {}
    // The control's size or the window's scale changed: fonts and pictures follow.
    virtual void rescaled() {}
    // The look switched from classic to themed.
    virtual void restyled() {}
    // The picture files this control shows (released from the cache when the window closes).
    virtual void pictures(std::vector<std::span<const std::uint8_t>>& /*files*/) const {}
    // Draws what lies under the control (for pictures of the control's parent to show through
    // its transparent parts); a picture box draws its present picture.
    virtual void paintContent(HDC /*dc*/, const RECT& /*area*/) {}
    // The learner acts on the control from the keyboard: key down (not a repeat) and key up.
    virtual void keyDown() {}
    virtual void keyUp() {}
    // Keyboard focus left while a key held the control down.
    virtual void focusLost() {}
    // A notification from a child button (BN_CLICKED) or its owner-draw request.
    virtual void command(WORD /*code*/) {}
    virtual void drawItem(const DRAWITEMSTRUCT& /*item*/) {}

    // The window procedure of every control: the kind's own handling, then the common one.
    virtual LRESULT message(UINT msg, WPARAM wp, LPARAM lp);
    static Control* of(HWND hwnd);
    // Fills `dc` (the control's client area) with what lies beneath the control.
    void paintBeneath(HDC dc) const;
    bool showsFocusMark() const;

  protected:
    // Makes the control's window: the binding's own class, or a system class (subclassed).
    void create(const wchar_t* systemClass, DWORD style, DWORD exStyle, HWND parent,
                const std::wstring& text);
    LRESULT base(UINT msg, WPARAM wp, LPARAM lp);
    // Pointer position (device pixels in the control) as the model's stored pixels.
    void fireMouse(std::int32_t event, LPARAM lp, WPARAM wp);
    // Paints through a memory DC: beneath, then `paint`.
    template <class F>
    void bufferedPaint(F paint) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT r;
        GetClientRect(hwnd_, &r);
        {
            BufferedPaint buffer(dc, r.right, r.bottom);
            paintBeneath(buffer.dc());
            paint(buffer.dc(), r);
        }
        EndPaint(hwnd_, &ps);
    }

    FormWindow& window_;
    const int index_;
    HWND hwnd_ = nullptr;
    WNDPROC base_ = nullptr;  // the system class's procedure, when subclassed

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// A child button's notification (WM_COMMAND) or owner-draw request (WM_DRAWITEM) handed to the
// control it comes from; false when it is none of ours.
bool routeToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// The window class of the binding's own controls; registered once.
void registerControlClass(HINSTANCE instance);
inline constexpr wchar_t kControlClass[] = L"WiringTrainerControl";

// One factory per control kind (label.cpp, wire_bar.cpp, button.cpp, picture_box.cpp,
// check_box.cpp, transparent_label.cpp).
std::unique_ptr<Control> makeLabel(FormWindow& window, int index, const ControlState& state,
                                   HWND parent);
std::unique_ptr<Control> makeWireBar(FormWindow& window, int index, const ControlState& state,
                                     HWND parent);
std::unique_ptr<Control> makeButton(FormWindow& window, int index, const ControlState& state,
                                    HWND parent, const std::string& spoken);
std::unique_ptr<Control> makePictureBox(FormWindow& window, int index, const ControlState& state,
                                        HWND parent);
std::unique_ptr<Control> makeCheckBox(FormWindow& window, int index, const ControlState& state,
                                      HWND parent, const std::string& spoken);
std::unique_ptr<Control> makeClickArea(FormWindow& window, int index, const ControlState& state,
                                       HWND parent, const std::string& spoken);

// --- The form window (form_window.cpp) ------------------------------------------------------

// The top-level window of one open model window: its controls in stored order (later records
// above earlier ones), placed by ui/layout.h on the monitor's work area and scaled with the
// window's client area and DPI.
class FormWindow {
  public:
    FormWindow(Win32Platform& platform, Ui& ui, WindowRef model, const std::wstring& title);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    const WindowRef& model() const { return model_; }
    Win32Platform& platform() const { return platform_; }
    Control* control(int index) const;
    void show();
    void apply(int index, int prop);
    // A learner's action on control `index`; (x, y) in stored pixels relative to the control.
    void fire(int index, std::int32_t event, int x = 0, int y = 0, int keys = 0);
    bool binds(int index, std::int32_t event) const;
    const layout::ContentFit& fit() const { return fit_; }
    // The background under a control, `origin` being the control's top-left corner in the
    // client area.
    void paintBackground(HDC dc, POINT origin, const RECT& area) const;
    void restyle();
    void pictures(std::vector<std::span<const std::uint8_t>>& files) const;

    // Keyboard: the mark shows once a key was used, until the next mouse press.
    bool keyboardCues() const { return keyboardCues_; }
    void setKeyboardCues(bool on);
    void tab(bool backwards);
    void arrow(focus::Direction direction);

    // Dialog mode and closing.
    bool closed() const { return closed_; }
    void setClosed() { closed_ = true; }
    bool modal() const { return modal_; }
    void setModal(bool modal) { modal_ = modal; }

    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  private:
    LRESULT message(UINT msg, WPARAM wp, LPARAM lp);
    void build();
    void relayout();
    void paint();
    void focusStop(int position);
    int focusedStop() const;

    Win32Platform& platform_;
    Ui& ui_;
    WindowRef model_;
    HWND hwnd_ = nullptr;
    layout::Size stored_;
    layout::ContentFit fit_;
    RECT content_{};  // where the stored layout lies in the client area
    std::vector<std::unique_ptr<Control>> controls_;  // by record index; [0] empty
    std::vector<focus::Stop> stops_;
    HWND lastFocus_ = nullptr;
    bool keyboardCues_ = false;
    bool closed_ = false;
    bool modal_ = false;
    bool building_ = true;
};

void registerFormWindowClass(HINSTANCE instance, HICON icon, HICON smallIcon);

// --- Message boxes (message_box.cpp) ---------------------------------------------------------

// The program's own box: the text, one "确定" button, wide enough for its whole title, no
// minimise or maximise box. `done` runs once, on OK, Enter, Escape or the close box; the box then
// destroys itself. `classic`: its button in the classic look; `activate`: it takes the keyboard
// at once (otherwise it opens above the windows without taking it). Returns the box's window.
HWND showMessageWindow(HINSTANCE instance, const std::wstring& text, const std::wstring& title,
                       bool classic, bool activate, std::function<void()> done);
bool isMessageWindow(HWND hwnd);

}  // namespace wt::win32
