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

void play(const HandlerCall& call, media::Role role) {
    call.ui.playSound(media::blob(role));
}

void uncheck(const HandlerCall& call, std::string_view gbkControl) {
    call.ui.setProperty(call.window, gbkControl, prop::Checked, 0);
}

void message(const HandlerCall& call, const char* gbkText) {
    call.ui.showMessage(gbkText, 0);
}

void status(const HandlerCall& call, std::string_view gbkLabel, std::int32_t color,
            const char* gbkText) {
    show(call, gbkLabel, true);
    setColor(call, gbkLabel, color);
    setCaption(call, gbkLabel, gbkText);
}

void toggleAnnouncedPower(const HandlerCall& call, std::atomic<std::int32_t>& power,
                          std::string_view gbkSwitchBox, std::string_view gbkLabel,
                          std::string_view gbkMotorBox) {
    const std::int32_t on = (power.load() & 1) ^ 1;
    power.store(on);
    if (on == 1) {
        setPicture(call, gbkSwitchBox, media::Role::SwitchClosed);
        play(call, media::Role::SwitchCloseSound);
        status(call, gbkLabel, kGreen, text::kPowerOn);
        return;
    }
    setPicture(call, gbkSwitchBox, media::Role::SwitchOpen);
    play(call, media::Role::SwitchOpenSound);
    status(call, gbkLabel, kRed, text::kPowerOff);
    setPicture(call, gbkMotorBox, media::Role::MotorAtRest);
    play(call, media::Role::SwitchOpenSound);
}

}  // namespace wt::ops
