#include "ui/win32/win32_platform.h"

#include <windows.h>
// After windows.h, which they build on.
#include <uxtheme.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "resources/gbk.h"
#include "ui/win32/win32_private.h"

namespace wt::win32 {

namespace {

constexpr int kButtonOk = 1;
constexpr wchar_t kMessageWindowClass[] = L"WiringTrainerMessages";

std::wstring boxTitle(const std::string& gbk) {
    return gbk.empty() ? std::wstring(L"信息：") : wideFromGbk(gbk);
}

// The program's icon: the first icon group of its resources (none in a build without them).
HICON programIcon(HINSTANCE instance, int size) {
    const wchar_t* name = nullptr;
    EnumResourceNamesW(
        instance, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR found, LONG_PTR out) -> BOOL {
            *reinterpret_cast<const wchar_t**>(out) = found;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&name));
    if (name == nullptr) return nullptr;
    return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance)
    : instance_(instance), guiThread_(std::this_thread::get_id()) {
    icon_ = programIcon(instance, GetSystemMetrics(SM_CXICON));
    smallIcon_ = programIcon(instance, GetSystemMetrics(SM_CXSMICON));
    registerFormWindowClass(instance, icon_, smallIcon_);
    registerControlClass(instance);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Platform::messageProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMessageWindowClass;
    RegisterClassExW(&wc);
    messageWindow_ = CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, instance, this);
}

Win32Platform::~Win32Platform() {
    releaseWaiters();
    windows_.clear();
    if (messageWindow_ != nullptr) DestroyWindow(messageWindow_);
}

void Win32Platform::setWindowTitles(std::map<std::uint32_t, std::string> titles) {
    titles_.clear();
    for (const auto& [id, title] : titles) titles_[id] = wideFromUtf8(title);
}

bool Win32Platform::onGuiThread() const {
    return std::this_thread::get_id() == guiThread_;
}

FormWindow* Win32Platform::windowOf(const WindowRef& window) const {
    auto it = windows_.find(window.get());
    return it == windows_.end() ? nullptr : it->second.get();
}

// --- Windows ---------------------------------------------------------------------------------

void Win32Platform::createWindow(const WindowRef& window) {
    if (ui_ == nullptr || !window || !onGuiThread()) return;
    auto title = titles_.find(window->id());
    auto w = std::make_unique<FormWindow>(*this, *ui_, window,
                                          title == titles_.end() ? std::wstring() : title->second);
    if (w->hwnd() == nullptr) return;
    windows_[window.get()] = std::move(w);
}

void Win32Platform::showWindow(const WindowRef& window) {
    if (FormWindow* w = windowOf(window)) w->show();
}

void Win32Platform::activateWindow(const WindowRef& window) {
    FormWindow* w = windowOf(window);
    if (w == nullptr) return;
    if (IsIconic(w->hwnd())) ShowWindow(w->hwnd(), SW_RESTORE);
    SetForegroundWindow(w->hwnd());
}

std::vector<HWND> Win32Platform::disableAll(HWND except) {
    std::vector<HWND> disabled;
    auto off = [&](HWND hwnd) {
        if (hwnd != nullptr && hwnd != except && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            disabled.push_back(hwnd);
        }
    };
    for (const auto& [model, w] : windows_) off(w->hwnd());
    for (const auto& request : workerBoxes_.open()) off(request->box);
    return disabled;
}

void Win32Platform::runModal(const WindowRef& window) {
    FormWindow* w = windowOf(window);
    if (w == nullptr) return;
    const std::vector<HWND> disabled = disableAll(w->hwnd());
    w->setModal(true);
    bool quit = false;
    while (!w->closed() && !quit) quit = !pump();
    if (ui_ != nullptr) ui_->windowClosed(window);
    // The others are enabled before this one goes, so that the menu becomes active again.
    for (HWND hwnd : disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    destroy(w);
    quitIfNoWindows();
}

void Win32Platform::windowClosing(FormWindow* window) {
    // A dialog-mode window is torn down by runModal once its loop has returned, any other by
    // run() between two messages; both look at closed() after every message.
    window->setClosed();
    PostMessageW(messageWindow_, WM_NULL, 0, 0);
}

void Win32Platform::destroy(FormWindow* window) {
    std::vector<std::span<const std::uint8_t>> files, kept;
    window->pictures(files);
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const auto& entry) { return entry.second.get() == window; });
    if (it == windows_.end()) return;
    std::unique_ptr<FormWindow> owned = std::move(it->second);
    windows_.erase(it);
    owned.reset();
    // Scaled pictures that no open window shows any more are let go.
    for (const auto& [model, w] : windows_) w->pictures(kept);
    for (const auto& file : files)
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const auto& k) { return k.data() == file.data(); }))
            pictures_.release(file);
}

void Win32Platform::quitIfNoWindows() {
    if (windows_.empty() && !quitting_) {
        quitting_ = true;
        PostQuitMessage(0);
    }
}

// --- The message loop ------------------------------------------------------------------------

bool Win32Platform::pump() {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside this one
        return false;
    }
    // Enter, Escape and Tab in a message box.
    if (HWND root = GetAncestor(msg.hwnd, GA_ROOT); isMessageWindow(root))
        if (IsDialogMessageW(root, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void Win32Platform::run() {
    while (pump()) {
        // A window closed outside dialog mode is torn down here, between two messages.
        std::vector<FormWindow*> closed;
        for (const auto& [model, w] : windows_)
            if (w->closed() && !w->modal()) closed.push_back(w.get());
        for (FormWindow* w : closed) {
            if (ui_ != nullptr) ui_->windowClosed(w->model());
            destroy(w);
        }
        if (!closed.empty()) quitIfNoWindows();
    }
}

LRESULT CALLBACK Win32Platform::messageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
        if (msg == kMsgUpdates) {
            self->drainUpdates();
            return 0;
        }
        if (msg == kMsgBoxes) {
            self->drainBoxes();
            return 0;
        }
        if (msg == WM_TIMER && wp == kActivateTimer) {
            self->activateWaitingBoxes();
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// --- Property changes --------------------------------------------------------------------------

void Win32Platform::propertyChanged(const WindowRef& window, int index, int prop) {
    if (onGuiThread()) {
        // The control shows the model's value at this moment; a closed window is left alone.
        if (window && window->isOpen())
            if (FormWindow* w = windowOf(window); w != nullptr && !w->closed())
                w->apply(index, prop);
        return;
    }
    // One posted message carries every update that arrives before it is served.
    if (updates_.add(window, index, prop)) PostMessageW(messageWindow_, kMsgUpdates, 0, 0);
}

void Win32Platform::drainUpdates() {
    for (const PendingUpdates::Update& u : updates_.take())
        if (WindowRef window = u.window.lock()) propertyChanged(window, u.index, u.prop);
}

// --- Message boxes -----------------------------------------------------------------------------

int Win32Platform::messageBox(const std::string& textGbk, const std::string& titleGbk,
                              int /*buttons*/, bool /*onGuiThread*/) {
    if (onGuiThread()) {
        const std::wstring text = wideFromGbk(textGbk), title = boxTitle(titleGbk);
        // Every window of the program refuses input, and the caller waits, until OK.
        bool done = false;
        std::vector<HWND> disabled;
        HWND box = showMessageWindow(instance_, text, title, !themed_, true, [&] {
            for (HWND hwnd : disabled)
                if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
            disabled.clear();
            done = true;
        });
        if (box == nullptr) return kButtonOk;
        disabled = disableAll(box);
        while (!done)
            if (!pump()) break;
        return kButtonOk;
    }
    return workerBoxes_.ask(textGbk, titleGbk, kButtonOk,
                            [this] { PostMessageW(messageWindow_, kMsgBoxes, 0, 0); });
}

void Win32Platform::drainBoxes() {
    for (const auto& request : workerBoxes_.take()) {
        // Not modal: the windows stay usable while the calling thread waits.
        std::weak_ptr<WorkerBoxes<HWND>::Request> weak = request;
        // While the learner holds a control down (a jog push-button, whose press started the
        // thread), the box opens without taking the keyboard or the mouse from it: the release
        // must still reach the control. It takes the keyboard once the learner lets go.
        const bool held = inputHeld();
        request->box =
            showMessageWindow(instance_, wideFromGbk(request->textGbk), boxTitle(request->titleGbk),
                              !themed_, !held, [this, weak] {
                                  if (auto r = weak.lock()) {
                                      r->box = nullptr;
                                      workerBoxes_.answer(r, kButtonOk);
                                  }
                              });
        if (request->box == nullptr) {
            workerBoxes_.answer(request, kButtonOk);
        } else if (held) {
            inactiveBoxes_.push_back(request->box);
            SetTimer(messageWindow_, kActivateTimer, 50, nullptr);
        }
    }
}

bool Win32Platform::inputHeld() {
    return GetCapture() != nullptr || GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_SPACE) < 0 ||
           GetKeyState(VK_RETURN) < 0;
}

void Win32Platform::activateWaitingBoxes() {
    if (inputHeld()) return;
    KillTimer(messageWindow_, kActivateTimer);
    for (HWND box : std::exchange(inactiveBoxes_, {}))
        if (IsWindow(box)) SetForegroundWindow(box);
}

void Win32Platform::releaseWaiters() {
    for (const auto& request : workerBoxes_.release(kButtonOk))
        if (onGuiThread() && request->box != nullptr && IsWindow(request->box))
            DestroyWindow(std::exchange(request->box, nullptr));
}

// --- Style and sound ---------------------------------------------------------------------------

void Win32Platform::applyVisualStyle(int style) {
    if (style != 1 || themed_ || !onGuiThread()) return;
    themed_ = true;
    for (const auto& [model, w] : windows_) w->restyle();
}

void Win32Platform::playSound(MediaRef wave) {
    if (const auto file = mediaFile(wave)) sound_.play(*file);
}

}  // namespace wt::win32
