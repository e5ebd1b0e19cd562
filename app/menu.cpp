#include "app/menu.h"

#include "form_ids.h"

namespace wt::app {
namespace {

constexpr MenuButton kMenu[] = {
    {"长动", forms::ContinuousRunExercise},        {"点动", forms::JogExercise},
    {"长动加点动", forms::ContinuousJogExercise},  {"按钮1", forms::MultiLocationExercise},
    {"正反转电路", forms::ForwardReverseExercise}, {"三重互锁", forms::DoubleInterlockExercise},
};

}  // namespace

std::span<const MenuButton> menuButtons() {
    return kMenu;
}

void registerMenuHandlers(HandlerRegistry& registry) {
    for (const MenuButton& entry : kMenu) {
        const std::uint32_t window = entry.window;
        registry.add(std::string("ExerciseMenu.") + entry.name + ".clicked",
                     [window](const HandlerCall& call) {
                         call.ui.openWindow(window, nullptr, true);
                         call.ui.applyVisualStyle(1);
                     });
    }
}

}  // namespace wt::app
