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

// The icon embedded in the program, one picture per size up to `largest` pixels, every size when
// 0 (empty if none could be read).
QIcon programIcon(int largest = 0);

// The largest size of the icon that every window but the menu carries. Each size a window carries
// is converted and sent to the desktop whenever such a window opens (the 256-pixel one alone
// costs milliseconds at every opening, more on a scaled screen); the menu, the program's main
// window, carries them all, and the desktop entry names the installed icon in every size.
constexpr int kWindowIconLargest = 64;

// The icons of the windows that carry more than the application's: the menu, the whole icon.
std::map<std::uint32_t, QIcon> windowIcons();

// titlesByWindow (app/program.h) as Qt strings.
std::map<std::uint32_t, QString> exerciseTitles(const form::FormResource& resource);

}  // namespace wt::app
