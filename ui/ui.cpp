#include "ui/ui.h"

#include <algorithm>

#include "resources/gbk.h"

namespace wt {

// --- HandlerRegistry -----------------------------------------------------------------------

void HandlerRegistry::add(std::string name, Handler handler) {
    handlers_[std::move(name)] = std::move(handler);
}

const Handler* HandlerRegistry::find(std::string_view name) const {
    auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

std::vector<Handler> HandlerRegistry::resolve(std::span<const char* const> names,
                                              std::vector<std::string>* missing) const {
    std::vector<Handler> table;
    table.reserve(names.size());
    for (const char* name : names) {
        const Handler* h = find(name);
        if (h == nullptr && missing != nullptr) missing->emplace_back(name);
        table.push_back(h ? *h : Handler{});
    }
    return table;
}

// --- ModelWindow ---------------------------------------------------------------------------

ModelWindow::ModelWindow(const form::WindowBlock& block, std::uint64_t serial)
    : block_(block), serial_(serial) {
    controls_.resize(block.records.size());
    for (std::size_t i = 0; i < block.records.size(); ++i) {
        const form::ControlRecord& rec = block.records[i];
        ControlState& s = controls_[i];
        s.record = &rec;
        s.visible = i == 0 || rec.visibleAtCreation();
        s.caption = rec.captionGbk;
        s.textColor = static_cast<std::int32_t>(rec.textColor);
        if (i > 0 && rec.parent != 0) s.parent = block.indexOfId(rec.parent);
        if (s.parent <= 0) s.parent = -1;
        if (i > 0 && !rec.nameGbk.empty()) byName_.emplace(rec.nameGbk, static_cast<int>(i));
    }
}

int ModelWindow::indexOf(std::string_view nameGbk) const {
    auto it = byName_.find(std::string(nameGbk));
    return it == byName_.end() ? -1 : it->second;
}

bool ModelWindow::isOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

ControlState ModelWindow::state(int index) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || static_cast<std::size_t>(index) >= controls_.size()) return {};
    return controls_[index];
}

bool ModelWindow::shown(int index) const {
    std::lock_guard lock(mutex_);
    return shownLocked(index);
}

bool ModelWindow::shownLocked(int index) const {
    if (!open_ || index < 0 || static_cast<std::size_t>(index) >= controls_.size()) return false;
    // Walk up the containers; the step bound guards against a parent cycle.
    for (std::size_t steps = 0; index > 0 && steps <= controls_.size(); ++steps) {
        if (!controls_[index].visible) return false;
        index = controls_[index].parent;
    }
    return index <= 0 && controls_[0].visible;
}

bool ModelWindow::binds(int index, std::int32_t event) const {
    if (index < 0 || static_cast<std::size_t>(index) >= controls_.size()) return false;
    for (const form::EventBinding& b : block_.records[index].events)
        if (b.event == event) return true;
    return false;
}

void ModelWindow::userSetChecked(int index, bool checked) {
    std::lock_guard lock(mutex_);
    if (index > 0 && static_cast<std::size_t>(index) < controls_.size())
        controls_[index].checked = checked;
}

// --- Ui ------------------------------------------------------------------------------------

Ui::Ui(const form::FormResource& forms, Platform& platform, std::vector<Handler> handlers)
    : forms_(forms), platform_(platform), handlers_(std::move(handlers)) {}

Ui::~Ui() {
    shutdown();
}

Value Ui::getProperty(const WindowRef& window, std::string_view controlGbk, int number) {
    if (!window) return std::int32_t{0};
    const int index = window->indexOf(controlGbk);
    if (index < 0) return std::int32_t{0};
    std::lock_guard lock(window->mutex_);
    if (!window->open_) return std::int32_t{0};
    const ControlState& s = window->controls_[index];
    const form::Geometry& g = s.record->geometry;
    switch (number) {
        case prop::Left:
            return g.left;
        case prop::Top:
            return g.top;
        case prop::Width:
            return g.width;
        case prop::Height:
            return g.height;
        case prop::Tag:
            return s.tag;
        case prop::Visible:
            return std::int32_t{window->shownLocked(index) ? 1 : 0};
        default:
            break;
    }
    const auto info = prop::find(s.record->kind, number);
    if (!info) return std::int32_t{0};
    switch (number) {
        case prop::Caption:
            return s.caption;
        case prop::TextColor:
            return s.textColor;
        case prop::Picture:
            return s.picture;
        case prop::Checked:
            return std::int32_t{s.checked ? 1 : 0};
        default:
            return std::int32_t{0};
    }
}

void Ui::setProperty(const WindowRef& window, std::string_view controlGbk, int number,
                     Value value) {
    if (!window) return;
    const int index = window->indexOf(controlGbk);
    if (index < 0) return;
    {
        std::lock_guard lock(window->mutex_);
        if (!window->open_) return;
        ControlState& s = window->controls_[index];
        const auto info = prop::find(s.record->kind, number);
        if (!info) return;
        const auto* integer = std::get_if<std::int32_t>(&value);
        auto* text = std::get_if<std::string>(&value);
        const auto* media = std::get_if<MediaRef>(&value);
        switch (number) {
            case prop::Visible:
                if (!integer) return;
                s.visible = *integer != 0;
                break;
            case prop::Tag:
                if (!text) return;
                s.tag = std::move(*text);
                break;
            case prop::Caption:
                if (!text) return;
                s.caption = std::move(*text);
                break;
            case prop::TextColor:
                if (!integer) return;
                s.textColor = *integer;
                break;
            case prop::Checked:
                if (!integer) return;
                s.checked = *integer != 0;
                break;
            case prop::Picture:
                if (!media) return;
                s.picture = *media;
                break;
            default:
                return;  // geometry and the rest are fixed by the form resource
        }
    }
    platform_.propertyChanged(window, index, number);
}

std::int32_t Ui::getInt(const WindowRef& window, std::string_view controlGbk, int number) {
    Value v = getProperty(window, controlGbk, number);
    const auto* i = std::get_if<std::int32_t>(&v);
    return i ? *i : 0;
}

std::string Ui::getText(const WindowRef& window, std::string_view controlGbk, int number) {
    Value v = getProperty(window, controlGbk, number);
    auto* s = std::get_if<std::string>(&v);
    return s ? std::move(*s) : std::string();
}

int Ui::showMessage(std::string_view textGbk, int buttons, const char* titleGbk,
                    const WindowRef* /*owner*/) {
    static const std::string defaultTitle = gbk("信息：");
    const bool gui = platform_.onGuiThread();
    if (!gui && shuttingDown_.load()) return 1;
    return platform_.messageBox(std::string(textGbk),
                                titleGbk ? std::string(titleGbk) : defaultTitle, buttons, gui);
}

void Ui::playSound(MediaRef wave, int /*repeat*/) {
    // The logic never asks for repetition; every call is one playback of its own.
    platform_.playSound(wave);
}

bool Ui::openWindow(std::uint32_t windowId, const WindowRef* /*owner*/, bool dialogMode) {
    if (!platform_.onGuiThread()) return false;
    if (WindowRef open = openInstance(windowId)) {
        platform_.activateWindow(open);
        return true;
    }
    const form::WindowBlock* block = forms_.find(windowId);
    if (block == nullptr || block->records.empty()) return false;
    WindowRef window;
    {
        std::lock_guard lock(openMutex_);
        window = std::make_shared<ModelWindow>(*block, nextSerial_++);
        open_[windowId] = window;
    }
    platform_.createWindow(window);
    fire(window, 0, form::kEventClicked);  // the window-created notification
    if (!window->isOpen()) return true;    // the created handler closed it
    platform_.showWindow(window);
    if (dialogMode) platform_.runModal(window);
    return true;
}

void Ui::applyVisualStyle(int style) {
    if (style_.exchange(style) == style) return;
    platform_.applyVisualStyle(style);
}

void Ui::startThread(Handler handler, const HandlerCall& call) {
    if (shuttingDown_.load() || !handler) return;
    if (!platform_.threadsAvailable()) {
        HandlerCall own{*this, call.window};
        handler(own);
        return;
    }
    std::lock_guard lock(threadsMutex_);
    // Reap threads that have finished, so hundreds of presses leave no pile of handles.
    std::erase_if(threads_, [](Worker& w) {
        if (!w.done->load()) return false;
        w.thread.join();
        return true;
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    WindowRef window = call.window;
    threads_.push_back(Worker{std::thread([this, handler = std::move(handler), window, done] {
                                  HandlerCall own{*this, window};
                                  handler(own);
                                  done->store(true);
                              }),
                              done});
}

void Ui::releaseText(std::string& text) {
    text.clear();
    text.shrink_to_fit();
}

void Ui::fire(const WindowRef& window, int index, std::int32_t event, int x, int y, int keys) {
    if (!window || !window->isOpen()) return;
    if (index < 0 || static_cast<std::size_t>(index) >= window->size()) return;
    const form::ControlRecord& rec = window->block().records[index];
    for (const form::EventBinding& binding : rec.events) {
        if (binding.event != event || binding.handler >= handlers_.size()) continue;
        const Handler& handler = handlers_[binding.handler];
        if (!handler) continue;
        HandlerCall call{*this, window, x, y, keys};
        handler(call);
    }
}

void Ui::windowClosed(const WindowRef& window) {
    if (!window) return;
    {
        std::lock_guard lock(window->mutex_);
        window->open_ = false;
    }
    std::lock_guard lock(openMutex_);
    auto it = open_.find(window->id());
    if (it != open_.end() && it->second == window) open_.erase(it);
}

WindowRef Ui::openInstance(std::uint32_t windowId) const {
    std::lock_guard lock(openMutex_);
    auto it = open_.find(windowId);
    return it == open_.end() ? nullptr : it->second;
}

void Ui::shutdown() {
    shuttingDown_.store(true);
    platform_.releaseWaiters();
    std::vector<Worker> workers;
    {
        std::lock_guard lock(threadsMutex_);
        workers.swap(threads_);
    }
    for (Worker& w : workers)
        if (w.thread.joinable()) w.thread.join();
}

}  // namespace wt
