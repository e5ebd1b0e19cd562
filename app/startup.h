// Start-up of the program: the runtime, the form resource, the handler table, the menu window
// and the message loop.
#pragma once

#include "app/program.h"

namespace wt::app {

// Runs the program until its last window has been closed; returns the exit code.
int run(char* programPath);

}  // namespace wt::app
