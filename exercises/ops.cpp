#include "exercises/ops.h"

#include <string>

#include "ui/properties.h"

namespace wt::ops {

void show(const HandlerCall& call, std::string_view gbkControl, bool visible) {
    call.ui.setProperty(call.window, gbkControl, prop::Visible, visible ? 1 : 0);
}

void setColor(const HandlerCall& call, std::string_view gbkControl, std::int32_t color) {
    call.ui.setProperty(call.window, gbkControl, prop::TextColor, color);
}

void setCaption(const HandlerCall& call, std::string_view gbkControl, const char* gbkText) {
    call.ui.setProperty(call.window, gbkControl, prop::Caption, std::string(gbkText));
}

void setPicture(const HandlerCall& call, std::string_view gbkControl, media::Role role) {
    call.ui.setProperty(call.window, gbkControl, prop::Picture, media::blob(role));
}

void play(const HandlerCall& call, media::Role role) { call.ui.playSound(media::blob(role)); }

void uncheck(const HandlerCall& call, std::string_view gbkControl) {
    call.ui.setProperty(call.window, gbkControl, prop::Checked, 0);
}

void message(const HandlerCall& call, const char* gbkText) { call.ui.showMessage(gbkText, 0); }

}  // namespace wt::ops
