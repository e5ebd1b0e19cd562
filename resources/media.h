// The constant area: every text and media item that the exercise logic hands to controls or to
// the sound output at run time. Media are MediaBlobs embedded in the executable; the logic names
// them by role.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/media_blob.h"

namespace wt::media {

enum class Role {
    SwitchClosed,       // PNG 340 x 310
    SwitchOpen,         // PNG 340 x 310
    SwitchCloseSound,   // WAV 48 kHz, 0.91 s
    SwitchOpenSound,    // WAV 48 kHz, 0.60 s
    ContactorReleased,  // PNG 505 x 505
    ContactorPulledIn,  // PNG 505 x 505
    MotorAtRest,        // PNG 619 x 431
    MotorForward,       // GIF 620 x 434, 69 frames
    MotorReverse,       // GIF 620 x 434, 68 frames
    StartSound1,        // WAV 48 kHz, 2.05 s
    StartSound2,        // WAV 44.1 kHz, 6.01 s
    StopSound1,         // WAV 48 kHz, 1.90 s
    StopSound2,         // WAV 44.1 kHz, 2.75 s
    Count
};

MediaRef blob(Role role);
// The role whose blob this is, or Role::Count for any other reference.
Role roleOf(MediaRef ref);
std::string_view roleName(Role role);
// Where all the blobs lie, one after another (for resources/resident.h).
std::span<const std::uint8_t> area();

}  // namespace wt::media

namespace wt::text {

// GBK bytes ending in NUL.
extern const char kConnectWires[];  // "请连线"
extern const char* const
    kConnectWiresN[10];              // [1]..[9]: "请连线1" .. "请连线9"; [0] unused (nullptr)
extern const char kClosePower[];     // "请合上电源"
extern const char kMotorForward[];   // "电机正转"
extern const char kMotorReverse[];   // "电机反转"
extern const char kMotorStarting[];  // "电机启动中"
extern const char kMotorStopped[];   // "电机停止"
extern const char kMotorHasStopped[];  // "电机已停止"
extern const char kPowerOn[];          // "通电源了"
extern const char kPowerOff[];         // "已断电"
extern const char kMark[];             // "1"
extern const char kEmpty[];            // ""

}  // namespace wt::text
