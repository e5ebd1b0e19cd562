// The focus mark of the controls that act: a two-tone ring drawn over the control's own picture,
// shown only while the focus came from the keyboard (Tab, a key press), never after a mouse click.
#pragma once

class QPainter;
class QWidget;

namespace wt::qt {

// Whether the widget's focus is one the learner reached or used with the keyboard.
bool keyboardFocus(const QWidget& widget);
void setKeyboardFocus(QWidget& widget, bool keyboard);

// Draws the mark when the widget has keyboard focus; call last in its paintEvent.
void paintFocusMark(QPainter& painter, const QWidget& widget);

}  // namespace wt::qt
