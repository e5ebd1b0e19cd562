// The browser edition's start-up: the form resource, the handler table, the menu. After main
// returns the page keeps the program alive and calls in through the wt_web_* functions.
#include <emscripten.h>

#include <cstdio>
#include <optional>
#include <string>

#include "app/program.h"
#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/form_reader.h"
#include "ui/web/web_platform.h"

namespace {

struct Program {
    std::optional<wt::form::FormResource> forms;
    wt::ex::Exercises exercises;
    wt::web::WebPlatform platform;
    std::optional<wt::Ui> ui;
};

Program* program = nullptr;

// The menu carries the program's name; each exercise window the caption of the menu button
// that opens it.
void nameWindows(const wt::form::FormResource& forms, wt::web::WebPlatform& platform) {
    platform.setTitle(wt::forms::ExerciseMenu, wt::app::kDisplayName);
    for (const auto& [window, title] : wt::app::titlesByWindow(forms))
        platform.setTitle(window, title);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void wt_web_fire(double serial, int index, int event, int x, int y, int keys) {
    if (program)
        program->platform.fire(static_cast<std::uint64_t>(serial), index, event, x, y, keys);
}

EMSCRIPTEN_KEEPALIVE void wt_web_check(double serial, int index, int checked) {
    if (program)
        program->platform.userChecked(static_cast<std::uint64_t>(serial), index, checked != 0);
}

EMSCRIPTEN_KEEPALIVE void wt_web_close(double serial) {
    if (program) program->platform.close(static_cast<std::uint64_t>(serial));
}

}  // extern "C"

int main() {
    static Program p;
    std::string error;
    p.forms = wt::form::FormResource::parse(wt::form::embeddedFormResource(),
                                            wt::forms::kHandlerCount, &error);
    if (!p.forms) {
        std::fprintf(stderr, "wiring-trainer: form resource: %s\n", error.c_str());
        EM_ASM({ wtPage.startFailed(); });
        return 1;
    }
    wt::app::HandlerTable table = wt::app::resolveHandlers(p.exercises);
    if (!table.missing.empty()) {
        std::fprintf(stderr, "wiring-trainer: no handler for %s\n", table.missing.front().c_str());
        EM_ASM({ wtPage.startFailed(); });
        return 1;
    }
    nameWindows(*p.forms, p.platform);
    p.ui.emplace(*p.forms, p.platform, std::move(table.handlers));
    p.platform.attach(*p.ui);
    program = &p;
    if (!p.ui->openWindow(wt::forms::ExerciseMenu, nullptr, false)) {
        EM_ASM({ wtPage.startFailed(); });
        return 1;
    }
    return 0;
}
