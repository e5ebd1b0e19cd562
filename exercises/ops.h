// Small helpers the exercise operations share: status texts, pictures and sounds by role, all
// through the operations of the control model.
#pragma once

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

}  // namespace wt::ops
