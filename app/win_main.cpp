// The Windows edition's start-up: the form resource, the handler table, the menu, the message
// loop. A GUI program without a console; it takes no command line.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <objbase.h>

#include <cfenv>
#include <cstdio>
#include <optional>
#include <string>

#include "app/program.h"
#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/form_reader.h"
#include "resources/gbk.h"
#include "ui/win32/win32_platform.h"
#include "ui/win32/win32_private.h"

namespace {

int startFailed(wt::win32::Win32Platform& platform, const std::string& why) {
    std::fprintf(stderr, "wiring-trainer: %s\n", why.c_str());
    platform.messageBox(wt::gbk("载入启动窗口失败"), std::string(), 0, true);
    return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    std::fesetenv(FE_DFL_ENV);
    wt::win32::enableDpiAwareness();
    // Pictures are decoded by WIC, which wants COM on the thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    std::string error;
    const std::optional<wt::form::FormResource> resource = wt::form::FormResource::parse(
        wt::form::embeddedFormResource(), wt::forms::kHandlerCount, &error);
    wt::win32::Win32Platform platform(instance);
    if (!resource) return startFailed(platform, "form resource: " + error);
    wt::ex::Exercises exercises;
    wt::app::HandlerTable table = wt::app::resolveHandlers(exercises);
    if (!table.missing.empty())
        return startFailed(platform, "no handler for " + table.missing.front());

    // The menu carries the program's name; each exercise window the caption of the menu button
    // that opens it.
    std::map<std::uint32_t, std::string> titles = wt::app::titlesByWindow(*resource);
    titles[wt::forms::ExerciseMenu] = wt::app::kDisplayName;
    platform.setWindowTitles(std::move(titles));
    wt::Ui ui(*resource, platform, std::move(table.handlers));
    platform.attach(ui);
    if (!ui.openWindow(wt::forms::ExerciseMenu, nullptr, false) ||
        !ui.openInstance(wt::forms::ExerciseMenu))
        return startFailed(platform, "the menu window could not be created");
    platform.run();
    ui.shutdown();
    CoUninitialize();
    return 0;
}
