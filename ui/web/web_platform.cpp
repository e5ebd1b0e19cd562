#include "ui/web/web_platform.h"

#include <emscripten.h>

#include "resources/gbk.h"

// The page side of each call lives in page.js (object `wtPage`).
// clang-format off
EM_JS(void, wt_page_create, (const char* json), { wtPage.createWindow(JSON.parse(UTF8ToString(json))); });
EM_JS(void, wt_page_show, (double serial), { wtPage.showWindow(serial); });
EM_JS(void, wt_page_modal, (double serial), { wtPage.setModal(serial); });
EM_JS(void, wt_page_activate, (double serial), { wtPage.activate(serial); });
EM_JS(void, wt_page_update, (double serial, int prop, const char* json), { wtPage.update(serial, prop, JSON.parse(UTF8ToString(json))); });
EM_JS(void, wt_page_remove, (double serial), { wtPage.removeWindow(serial); });
EM_JS(void, wt_page_message, (const char* text, const char* title), { wtPage.messageBox(UTF8ToString(text), UTF8ToString(title)); });
EM_JS(void, wt_page_sound, (const void* data, int length), { wtPage.play(data, length); });
EM_JS(void, wt_page_style, (int style), { wtPage.applyStyle(style); });
// clang-format on

namespace wt::web {

namespace {
constexpr int kButtonOk = 1;
}

void WebPlatform::createWindow(const WindowRef& window) {
    if (!window) return;
    windows_[window->serial()] = window;
    auto title = titles_.find(window->id());
    const std::string json =
        describeWindow(*window, title == titles_.end() ? std::string() : title->second);
    wt_page_create(json.c_str());
}

void WebPlatform::showWindow(const WindowRef& window) {
    if (window) wt_page_show(static_cast<double>(window->serial()));
}

void WebPlatform::runModal(const WindowRef& window) {
    // The page cannot wait here: the menu stays inert until this window closes (see close()).
    if (!window || !window->isOpen()) return;
    modal_ = window->serial();
    wt_page_modal(static_cast<double>(modal_));
}

void WebPlatform::activateWindow(const WindowRef& window) {
    if (window) wt_page_activate(static_cast<double>(window->serial()));
}

void WebPlatform::propertyChanged(const WindowRef& window, int index, int prop) {
    if (!window || !window->isOpen() || !windows_.count(window->serial())) return;
    const std::string json = describeState(*window, index);
    wt_page_update(static_cast<double>(window->serial()), prop, json.c_str());
}

int WebPlatform::messageBox(const std::string& textGbk, const std::string& titleGbk,
                            int /*buttons*/, bool /*onGuiThread*/) {
    const std::string text = utf8(textGbk);
    const std::string title = titleGbk.empty() ? std::string("信息：") : utf8(titleGbk);
    wt_page_message(text.c_str(), title.c_str());
    return kButtonOk;
}

void WebPlatform::playSound(MediaRef wave) {
    if (const auto file = mediaFile(wave))
        wt_page_sound(file->data(), static_cast<int>(file->size()));
}

void WebPlatform::applyVisualStyle(int style) {
    if (modal_ != 0) {
        pendingStyle_ = style;
        return;
    }
    wt_page_style(style);
}

WindowRef WebPlatform::window(std::uint64_t serial) const {
    auto it = windows_.find(serial);
    return it == windows_.end() ? nullptr : it->second;
}

void WebPlatform::fire(std::uint64_t serial, int index, std::int32_t event, int x, int y,
                       int keys) {
    // While a window is in dialog mode only that window takes input.
    if (ui_ == nullptr || (modal_ != 0 && serial != modal_)) return;
    if (WindowRef w = window(serial)) ui_->fire(w, index, event, x, y, keys);
}

void WebPlatform::userChecked(std::uint64_t serial, int index, bool checked) {
    if (modal_ != 0 && serial != modal_) return;
    if (WindowRef w = window(serial)) w->userSetChecked(index, checked);
}

void WebPlatform::close(std::uint64_t serial) {
    WindowRef w = window(serial);
    if (!w || (modal_ != 0 && serial != modal_)) return;
    windows_.erase(serial);
    if (ui_ != nullptr) ui_->windowClosed(w);
    wt_page_remove(static_cast<double>(serial));
    if (serial == modal_) {
        modal_ = 0;
        wt_page_modal(0);
        if (pendingStyle_ != 0) wt_page_style(std::exchange(pendingStyle_, 0));
    }
    if (windows_.empty() && ui_ != nullptr) ui_->shutdown();
}

}  // namespace wt::web
