#include "resources/media.h"

#include <algorithm>
#include <array>
#include <cstdint>

// Role, then the blob symbol of resources/media_blobs.S, in Role order.
#define WT_MEDIA_BLOBS(X)                              \
    X(SwitchClosed, wt_media_switch_closed)            \
    X(SwitchOpen, wt_media_switch_open)                \
    X(SwitchCloseSound, wt_media_switch_close_sound)   \
    X(SwitchOpenSound, wt_media_switch_open_sound)     \
    X(ContactorReleased, wt_media_contactor_released)  \
    X(ContactorPulledIn, wt_media_contactor_pulled_in) \
    X(MotorAtRest, wt_media_motor_at_rest)             \
    X(MotorForward, wt_media_motor_forward)            \
    X(MotorReverse, wt_media_motor_reverse)            \
    X(StartSound1, wt_media_start_sound1)              \
    X(StartSound2, wt_media_start_sound2)              \
    X(StopSound1, wt_media_stop_sound1)                \
    X(StopSound2, wt_media_stop_sound2)

#define WT_DECLARE_BLOB(role, sym) extern const std::uint8_t sym[], sym##_end[];
extern "C" {
WT_MEDIA_BLOBS(WT_DECLARE_BLOB)
}

namespace wt::media {

namespace {

struct Entry {
    Role role;
    const std::uint8_t* begin;
    const std::uint8_t* end;
    std::string_view name;
};

#define WT_BLOB_ENTRY(role, sym) Entry{Role::role, sym, sym##_end, #role},
constexpr std::array kCatalogue{WT_MEDIA_BLOBS(WT_BLOB_ENTRY)};
static_assert(kCatalogue.size() == static_cast<std::size_t>(Role::Count));

}  // namespace

MediaRef blob(Role role) {
    const auto index = static_cast<std::size_t>(role);
    if (index >= kCatalogue.size()) return {};
    const Entry& e = kCatalogue[index];
    return {e.begin, static_cast<std::size_t>(e.end - e.begin)};
}

Role roleOf(MediaRef ref) {
    for (const Entry& e : kCatalogue)
        if (ref == blob(e.role)) return e.role;
    return Role::Count;
}

std::string_view roleName(Role role) {
    const auto index = static_cast<std::size_t>(role);
    return index < kCatalogue.size() ? kCatalogue[index].name : std::string_view("none");
}

std::span<const std::uint8_t> area() {
    std::uintptr_t first = UINTPTR_MAX, last = 0;
    for (const Entry& e : kCatalogue) {
        first = std::min(first, reinterpret_cast<std::uintptr_t>(e.begin));
        last = std::max(last, reinterpret_cast<std::uintptr_t>(e.end));
    }
    return {reinterpret_cast<const std::uint8_t*>(first), last - first};
}

}  // namespace wt::media
