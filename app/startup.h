// Start-up of the program: the runtime, the form resource, the handler table, the menu window
// and the message loop.
#pragma once

#include <string>
#include <vector>

#include "exercises/registry.h"
#include "ui/ui.h"

namespace wt::app {

// Every handler the form resource names, in handler-number order; `missing` lists the names
// that neither the menu nor the exercises provide.
struct HandlerTable {
    std::vector<Handler> handlers;
    std::vector<std::string> missing;
};
HandlerTable resolveHandlers(ex::Exercises& exercises);

// Runs the program until its last window has been closed; returns the exit code.
int run(char* programPath);

}  // namespace wt::app
