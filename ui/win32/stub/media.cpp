// Stand-in for pictures.cpp and sound.cpp until they land: no pictures, no sound.
#include "ui/win32/pictures.h"
#include "ui/win32/sound.h"

namespace wt::win32 {

struct PictureCache::Impl {};
struct SoundOutput::Impl {};

std::shared_ptr<const Picture> decodePicture(std::span<const std::uint8_t>) {
    return nullptr;
}

PictureCache::PictureCache() = default;
PictureCache::~PictureCache() = default;
std::shared_ptr<const Picture> PictureCache::picture(std::span<const std::uint8_t>) {
    return nullptr;
}
HBITMAP PictureCache::scaled(std::span<const std::uint8_t>, int, int, int) {
    return nullptr;
}
void PictureCache::release(std::span<const std::uint8_t>) {}

SoundOutput::SoundOutput() = default;
SoundOutput::~SoundOutput() = default;
void SoundOutput::play(std::span<const std::uint8_t>) {}

}  // namespace wt::win32
