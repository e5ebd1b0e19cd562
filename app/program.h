// What every edition's start-up shares, free of any toolkit: the handler table that joins the
// form resource's bindings to the menu and the exercises, the program's name, and the titles of
// the exercise windows.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "exercises/registry.h"
#include "resources/form_reader.h"
#include "ui/ui.h"

namespace wt::app {

// The name the desktop shows for the program and appends to every window title (UTF-8).
inline constexpr char kDisplayName[] = "电机控制接线实训";

// Every handler the form resource names, in handler-number order; `missing` lists the names
// that neither the menu nor the exercises provide.
struct HandlerTable {
    std::vector<Handler> handlers;
    std::vector<std::string> missing;
};
HandlerTable resolveHandlers(ex::Exercises& exercises);

// Window identifier -> title (UTF-8) for every exercise window: the caption of the menu button
// that opens it, so that the learner finds the same words on the window as on the button.
std::map<std::uint32_t, std::string> titlesByWindow(const form::FormResource& resource);

}  // namespace wt::app
