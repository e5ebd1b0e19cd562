// What the first opening of a window will ask the picture cache for, worked out in advance so
// that a background thread can have it ready.
#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

#include "resources/form_reader.h"
#include "ui/qt/pictures.h"
#include "ui/qt/scaling.h"

namespace wt::qt {

// The pictures of `block` at the device sizes the window asks for when it is drawn at `fit` on
// a screen of `dpr`: its background, its picture buttons, its picture boxes, and every one of
// `stills` that has the same pixel size as a box's own picture (the pictures the exercises put
// into that box later).
std::vector<PictureCache::Request> windowPictures(
    const form::WindowBlock& block, const ContentFit& fit, qreal dpr,
    std::span<const std::span<const std::uint8_t>> stills);

}  // namespace wt::qt
