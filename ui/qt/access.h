// Keyboard and screen-reader access to a FormWindow: accessible names as the learner sees them,
// descriptions (also tooltips) from the generated form_access.h table, Tab order following the
// diagram, and keys that reach the model as the same events the mouse sends. The model and the
// exercise logic know nothing of it.
#pragma once

#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <vector>

class QWidget;

namespace wt::qt {

class FormWindow;

namespace access {

// Makes the text labels read as text. Call before the first window is built: Qt keeps the first
// accessible interface it makes for a widget, and building a window already asks for some.
void install();

// Names, descriptions, tooltips, key handling and Tab order for every control that acts; call
// once, after the window has built its controls.
void equip(FormWindow& window);

// A text label's caption changed: screen readers hear the new text.
void captionChanged(QWidget& label);

// Watches the wire bars while a learner's click on a terminal runs its handler; when the click
// showed or hid wires, the terminal's description says which, so a screen reader announces it.
class WireWatch {
  public:
    WireWatch(FormWindow& window, int index, std::int32_t event);
    ~WireWatch();
    WireWatch(const WireWatch&) = delete;
    WireWatch& operator=(const WireWatch&) = delete;

  private:
    QPointer<FormWindow> window_;
    int index_ = 0;
    std::vector<bool> shown_;  // by control index; empty when nothing is watched
};

// What the last wire change said ("已连接：a1线"), as appended to the terminal's description.
QString announcement(const QStringList& connected, const QStringList& removed);

}  // namespace access
}  // namespace wt::qt
