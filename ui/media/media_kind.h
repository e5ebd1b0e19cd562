// Which kind of media file a byte span holds, judged by its signature alone.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace wt::decode {

enum class MediaKind { Unknown, Png, Gif, Wave };

MediaKind mediaKind(std::span<const std::uint8_t> bytes);
std::string_view kindName(MediaKind kind);

}  // namespace wt::decode
