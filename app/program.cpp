#include "app/program.h"

#include "app/menu.h"
#include "form_ids.h"
#include "resources/gbk.h"

namespace wt::app {

HandlerTable resolveHandlers(ex::Exercises& exercises) {
    HandlerRegistry registry;
    registerMenuHandlers(registry);
    exercises.registerHandlers(registry);
    HandlerTable table;
    table.handlers = registry.resolve(
        std::span<const char* const>(forms::kHandlerNames, forms::kHandlerCount), &table.missing);
    return table;
}

std::map<std::uint32_t, std::string> titlesByWindow(const form::FormResource& resource) {
    std::map<std::uint32_t, std::string> titles;
    const form::WindowBlock* menu = resource.find(forms::ExerciseMenu);
    if (menu == nullptr) return titles;
    for (const MenuButton& button : menuButtons())
        for (const form::ControlRecord& record : menu->records)
            if (record.kind == form::Kind::Button && record.nameGbk == gbk(button.name) &&
                !record.captionGbk.empty())
                titles[button.window] = utf8(record.captionGbk);
    return titles;
}

}  // namespace wt::app
