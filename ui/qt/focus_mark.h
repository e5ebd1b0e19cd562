// The focus mark and the hover cue of the controls that act. The focus mark is a two-tone ring
// drawn over the control's own picture, shown only while the focus came from the keyboard (Tab,
// an arrow key, a key press, or a window opened or returned to by keys), never after a mouse
// click. The hover cue is a blue ring and a light wash over a control under the mouse pointer.
#pragma once

class QPainter;
class QWidget;

namespace wt::qt {

// Whether the widget's focus is one the learner reached or used with the keyboard.
bool keyboardFocus(const QWidget& widget);
void setKeyboardFocus(QWidget& widget, bool keyboard);

// Whether the learner's last input was a key rather than a mouse button (a key until the first
// click). Kept by access::install's application-wide watch.
bool keysInUse();
void setKeysInUse(bool keys);

// Draws the mark when the widget has keyboard focus; call last in its paintEvent.
void paintFocusMark(QPainter& painter, const QWidget& widget);

// Draws the hover cue over the widget when `lit` (the mouse is over it, or over the control it
// belongs to); call before the focus mark.
void paintHoverCue(QPainter& painter, const QWidget& widget, bool lit);

}  // namespace wt::qt
