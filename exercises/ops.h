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

// Control names are GBK in the model; these convert a UTF-8 name once per call site.
// Usage: static const std::string name = gbk("标签39");
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

}  // namespace wt::ops
