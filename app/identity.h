// How the program presents itself to the desktop: its name on every window, its icon, and the
// titles of the exercise windows.
#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>
#include <map>

#include "resources/form_reader.h"

namespace wt::app {

// The name the desktop shows for the program and appends to every window title.
QString displayName();

// The base name of the installed desktop entry (packaging/), so that the desktop can match the
// running program's windows to it.
QString desktopFileName();

// The icon embedded in the program, one picture per size (empty if none could be read).
QIcon programIcon();

// titlesByWindow (app/program.h) as Qt strings.
std::map<std::uint32_t, QString> exerciseTitles(const form::FormResource& resource);

}  // namespace wt::app
