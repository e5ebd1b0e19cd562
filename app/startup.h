// Start-up of the program: the runtime, the form resource, the handler table, the menu window
// and the message loop.
#pragma once

#include "app/program.h"

namespace wt::qt {
class QtPlatform;
}

namespace wt::app {

// Lets `platform` prepare an exercise window's pictures while the pointer or the keyboard focus
// rests on the menu button that opens it. Before the menu window is created.
void prepareOnApproach(qt::QtPlatform& platform, const form::FormResource& resource);

// Runs the program until its last window has been closed; returns the exit code.
int run(char* programPath);

}  // namespace wt::app
