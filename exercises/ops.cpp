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

void toggleQuietPower(const HandlerCall& call, std::atomic<std::int32_t>& power,
                      const std::atomic<std::int32_t>& statusShown, std::string_view gbkSwitchBox,
                      std::string_view gbkLabel, std::string_view gbkContactorBox,
                      std::string_view gbkMotorBox) {
    const bool on = (power.fetch_xor(1) ^ 1) == 1;
    if (on) {
        setPicture(call, gbkSwitchBox, media::Role::SwitchClosed);
        play(call, media::Role::SwitchCloseSound);
    } else {
        setPicture(call, gbkSwitchBox, media::Role::SwitchOpen);
        play(call, media::Role::SwitchOpenSound);
    }
    if (statusShown.load() != 1) {
        // No start has been tried yet: the status label has nothing to say.
        show(call, gbkLabel, false);
        return;
    }
    if (on) {
        // The motor does not restart by itself; the label keeps its visibility.
        if (!gbkContactorBox.empty())
            setPicture(call, gbkContactorBox, media::Role::ContactorReleased);
        setColor(call, gbkLabel, kGreen);
        setCaption(call, gbkLabel, text::kPowerOn);
        return;
    }
    show(call, gbkLabel, true);
    setColor(call, gbkLabel, kRed);
    setCaption(call, gbkLabel, text::kPowerOff);
    if (!gbkContactorBox.empty()) setPicture(call, gbkContactorBox, media::Role::ContactorReleased);
    setPicture(call, gbkMotorBox, media::Role::MotorAtRest);
    play(call, media::Role::SwitchOpenSound);
}

void showKeptPower(const HandlerCall& call, const std::atomic<std::int32_t>& power,
                   std::string_view gbkSwitchBox, std::string_view gbkLabel, bool announce) {
    if (power.load() != 1) return;
    setPicture(call, gbkSwitchBox, media::Role::SwitchClosed);
    if (announce) status(call, gbkLabel, kGreen, text::kPowerOn);
}

void startReversing(const HandlerCall& call, const ReversingBoxes& boxes, bool forward,
                    PictureOrder order) {
    using media::Role;
    status(call, boxes.label, kGreen, forward ? text::kMotorForward : text::kMotorReverse);
    const Role forwardRole = forward ? Role::ContactorPulledIn : Role::ContactorReleased;
    const Role reverseRole = forward ? Role::ContactorReleased : Role::ContactorPulledIn;
    const Role motorRole = forward ? Role::MotorForward : Role::MotorReverse;
    if (order == PictureOrder::EngagedFirst && !forward) {
        setPicture(call, boxes.reverseContactor, reverseRole);
        setPicture(call, boxes.motor, motorRole);
        setPicture(call, boxes.forwardContactor, forwardRole);
    } else {
        setPicture(call, boxes.forwardContactor, forwardRole);
        setPicture(call, boxes.motor, motorRole);
        setPicture(call, boxes.reverseContactor, reverseRole);
    }
    play(call, Role::StartSound1);
    play(call, Role::StartSound2);
}

void stopReversing(const HandlerCall& call, const ReversingBoxes& boxes, PictureOrder order) {
    using media::Role;
    status(call, boxes.label, kRed, text::kMotorHasStopped);
    setPicture(call, boxes.forwardContactor, Role::ContactorReleased);
    if (order == PictureOrder::EngagedFirst) {
        setPicture(call, boxes.motor, Role::MotorAtRest);
        setPicture(call, boxes.reverseContactor, Role::ContactorReleased);
    } else {
        setPicture(call, boxes.reverseContactor, Role::ContactorReleased);
        setPicture(call, boxes.motor, Role::MotorAtRest);
    }
    play(call, Role::StopSound1);
    play(call, Role::StopSound2);
}

}  // namespace wt::ops
