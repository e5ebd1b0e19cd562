#include "tests/support/test_host.h"

#include <stdexcept>

#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/gbk.h"
#include "ui/properties.h"

namespace wt::test {

std::string Effect::describe() const {
    switch (type) {
        case Type::Message:
            return "message \"" + text + "\"";
        case Type::Sound:
            return "sound " + std::string(media::roleName(role));
        case Type::Picture:
            return "picture " + control + " = " + std::string(media::roleName(role));
    }
    return {};
}

Effect message(std::string text) {
    return Effect{Effect::Type::Message, {}, std::move(text)};
}
Effect sound(media::Role role) {
    return Effect{Effect::Type::Sound, {}, {}, role};
}
Effect picture(std::string control, media::Role role) {
    return Effect{Effect::Type::Picture, std::move(control), {}, role};
}

// --- RecordingPlatform ---------------------------------------------------------------------

bool RecordingPlatform::onGuiThread() const {
    return std::this_thread::get_id() == guiThread;
}

void RecordingPlatform::record(Effect effect) {
    effect.fromGuiThread = onGuiThread();
    std::lock_guard lock(mutex_);
    effects_.push_back(std::move(effect));
}

void RecordingPlatform::propertyChanged(const WindowRef& window, int index, int prop) {
    if (prop != prop::Picture) return;
    const ControlState s = window->state(index);
    record(picture(utf8(s.record->nameGbk), media::roleOf(s.picture)));
}

int RecordingPlatform::messageBox(const std::string& textGbk, const std::string& titleGbk, int,
                                  bool onGui) {
    record(message(utf8(textGbk)));
    std::unique_lock lock(mutex_);
    titles_.push_back(utf8(titleGbk));
    if (onGui || !hold_) return 1;
    const std::uint64_t ticket = answered_;
    ++waiting_;
    cv_.wait(lock, [&] { return released_ || answered_ != ticket; });
    --waiting_;
    return 1;
}

void RecordingPlatform::playSound(MediaRef wave) {
    record(sound(media::roleOf(wave)));
}

void RecordingPlatform::releaseWaiters() {
    std::lock_guard lock(mutex_);
    released_ = true;
    cv_.notify_all();
}

void RecordingPlatform::holdWorkerMessages(bool hold) {
    std::lock_guard lock(mutex_);
    hold_ = hold;
}

void RecordingPlatform::answerMessages() {
    std::lock_guard lock(mutex_);
    ++answered_;
    cv_.notify_all();
}

int RecordingPlatform::pendingWorkerMessages() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

std::vector<Effect> RecordingPlatform::take() {
    std::lock_guard lock(mutex_);
    std::vector<Effect> out;
    out.swap(effects_);
    return out;
}

std::vector<Effect> RecordingPlatform::snapshot() const {
    std::lock_guard lock(mutex_);
    return effects_;
}

std::vector<std::string> RecordingPlatform::titles() const {
    std::lock_guard lock(mutex_);
    return titles_;
}

// --- TestHost ------------------------------------------------------------------------------

const form::FormResource& formResource() {
    static const form::FormResource forms = [] {
        std::string error;
        auto parsed =
            form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount, &error);
        if (!parsed) throw std::runtime_error("embedded form resource refused: " + error);
        return std::move(*parsed);
    }();
    return forms;
}

TestHost::TestHost() {
    HandlerRegistry registry;
    exercises.registerHandlers(registry);
    std::vector<std::string> missing;
    auto table = registry.resolve(forms::kHandlerNames, &missing);
    // Menu handlers belong to the program, not to the exercises; any other gap is a fault.
    for (const std::string& name : missing)
        if (name.rfind("ExerciseMenu.", 0) != 0)
            throw std::runtime_error("no handler for binding " + name);
    ui = std::make_unique<Ui>(formResource(), platform, std::move(table));
}

TestHost::~TestHost() {
    ui->shutdown();
}

WindowRef TestHost::open(std::uint32_t windowId) {
    if (!ui->openWindow(windowId, nullptr, false)) throw std::runtime_error("window did not open");
    return ui->openInstance(windowId);
}

void TestHost::close(const WindowRef& window) {
    ui->windowClosed(window);
}

int TestHost::index(const WindowRef& window, std::string_view control) {
    const int i = window->indexOf(gbk(control));
    if (i < 0) throw std::runtime_error("no control " + std::string(control));
    return i;
}

void TestHost::click(const WindowRef& window, std::string_view control) {
    ui->fire(window, index(window, control), form::kEventClicked);
}

void TestHost::mouseDown(const WindowRef& window, std::string_view control) {
    ui->fire(window, index(window, control), form::kEventMouseDown, 5, 5, 0);
}

void TestHost::mouseUp(const WindowRef& window, std::string_view control) {
    ui->fire(window, index(window, control), form::kEventMouseUp, 5, 5, 0);
}

void TestHost::clickAll(const WindowRef& window, std::string_view names) {
    std::size_t pos = 0;
    while (pos < names.size()) {
        std::size_t end = names.find(' ', pos);
        if (end == std::string_view::npos) end = names.size();
        if (end > pos) click(window, names.substr(pos, end - pos));
        pos = end + 1;
    }
}

void TestHost::setRemoveMode(const WindowRef& window, bool on) {
    window->userSetChecked(index(window, "选择框"), on);
}

bool TestHost::visible(const WindowRef& window, std::string_view control) {
    index(window, control);
    return ui->getInt(window, gbk(control), prop::Visible) == 1;
}

std::int32_t TestHost::integer(const WindowRef& window, std::string_view control, int prop) {
    index(window, control);
    return ui->getInt(window, gbk(control), prop);
}

std::string TestHost::caption(const WindowRef& window, std::string_view control) {
    index(window, control);
    return utf8(ui->getText(window, gbk(control), prop::Caption));
}

std::string TestHost::tag(const WindowRef& window, std::string_view control) {
    index(window, control);
    return utf8(ui->getText(window, gbk(control), prop::Tag));
}

media::Role TestHost::picture(const WindowRef& window, std::string_view control) {
    return media::roleOf(window->state(index(window, control)).picture);
}

bool TestHost::checked(const WindowRef& window, std::string_view control) {
    return integer(window, control, prop::Checked) != 0;
}

std::vector<std::string> TestHost::visibleOf(const WindowRef& window,
                                             const std::vector<std::string>& gbkLabels) {
    std::vector<std::string> out;
    for (const std::string& label : gbkLabels)
        if (ui->getInt(window, label, prop::Visible) == 1) out.push_back(utf8(label));
    return out;
}

}  // namespace wt::test
