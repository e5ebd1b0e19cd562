// Small helpers the exercise operations share: status texts, pictures and sounds by role, all
// through the operations of the control model.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "resources/media.h"
#include "ui/ui.h"

namespace wt::ops {

inline constexpr std::int32_t kGreen = 65280;
inline constexpr std::int32_t kRed = 255;

// Control names are GBK in the model: pass the generated constants of form_names.h
// (forms::controls::<Window>::<name>).
void show(const HandlerCall& call, std::string_view gbkControl, bool visible);
void setColor(const HandlerCall& call, std::string_view gbkControl, std::int32_t color);
void setCaption(const HandlerCall& call, std::string_view gbkControl, const char* gbkText);
void setPicture(const HandlerCall& call, std::string_view gbkControl, media::Role role);
void play(const HandlerCall& call, media::Role role);
void uncheck(const HandlerCall& call, std::string_view gbkControl);
// One OK box with a constant text, no title, no owner.
void message(const HandlerCall& call, const char* gbkText);
// The status label shown with a text in a colour.
void status(const HandlerCall& call, std::string_view gbkLabel, std::int32_t color,
            const char* gbkText);
// The power switch of the windows whose switch always announces itself on the status label
// (forward/reverse, double interlock, multi-location): closing shows the closed switch, its
// sound and "通电源了" in green; opening shows the open switch, its sound, "已断电" in red, the
// motor at rest, and plays the opening sound a second time. Contactor pictures and the running
// flag stay as they are.
void toggleAnnouncedPower(const HandlerCall& call, std::atomic<std::int32_t>& power,
                          std::string_view gbkSwitchBox, std::string_view gbkLabel,
                          std::string_view gbkMotorBox);

// The power switch of the windows whose status label stays quiet until a start was tried
// (continuous run, jog, continuous run with jog): the switch picture and its sound; then, once
// `statusShown` is 1, closing says "通电源了" in green and opening shows "已断电" in red with the
// motor at rest and the opening sound a second time; before that the label is hidden. With a
// `gbkContactorBox`, both directions also show the contactor released; without one the contactor
// picture stays. The running flag is never touched.
void toggleQuietPower(const HandlerCall& call, std::atomic<std::int32_t>& power,
                      const std::atomic<std::int32_t>& statusShown, std::string_view gbkSwitchBox,
                      std::string_view gbkLabel, std::string_view gbkContactorBox,
                      std::string_view gbkMotorBox);

// A window opens with its controls as the form stores them (switch open, status label hidden),
// while its power flag is kept from the last opening. So that the picture never contradicts the
// flag, a window opened with the power on shows the switch closed and, where its switch speaks
// on the status label (`announce`), "通电源了" in green, as a press of the switch in that window
// would have left it. No sound plays: nothing was switched. The wiring starts empty, so the
// contactor stays released and the motor at rest whatever the running flag says.
void showKeptPower(const HandlerCall& call, const std::atomic<std::int32_t>& power,
                   std::string_view gbkSwitchBox, std::string_view gbkLabel, bool announce);

// A window with a forward and a reverse contactor (forward/reverse, double interlock).
struct ReversingBoxes {
    std::string_view label;             // the status label
    std::string_view forwardContactor;  // picture boxes
    std::string_view reverseContactor;
    std::string_view motor;
};
// The order in which a window updates the three pictures.
enum class PictureOrder {
    // Start: the contactor pulled in, the motor, the other contactor. Stop: forward contactor,
    // motor, reverse contactor.
    EngagedFirst,
    // Start: forward contactor, motor, reverse contactor. Stop: both contactors, then the motor.
    ForwardFirst,
};
// A start that went through: the status in green, the pictures, then both start sounds. A start
// in either direction takes over at once, even while the other one runs.
void startReversing(const HandlerCall& call, const ReversingBoxes& boxes, bool forward,
                    PictureOrder order);
// The stop: the status in red, both contactors released and the motor at rest, both stop sounds.
void stopReversing(const HandlerCall& call, const ReversingBoxes& boxes, PictureOrder order);

}  // namespace wt::ops
