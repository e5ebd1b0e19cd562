// PNG output of the generated pictures: 8-bit RGB, no alpha, written with libpng.
#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace wt::assets {

// The PNG file bytes of `image`, flattened to 8-bit RGB (any alpha is dropped after compositing
// over white). Empty on a libpng failure.
std::vector<unsigned char> encodePng(const QImage& image);

// A smaller PNG for documentation: at most 256 colours (median cut over the image), 8-bit
// palette. The program's own pictures are always written by encodePng.
std::vector<unsigned char> encodePalettePng(const QImage& image);

// Writes `bytes` to `path` unless the file already holds exactly these bytes, so that an
// unchanged picture keeps its time stamp and nothing downstream rebuilds. The bytes go to
// `path.tmp` first and are renamed into place. False with `error` set on an I/O failure.
bool writeIfDifferent(const std::string& path, const std::vector<unsigned char>& bytes,
                      std::string* error);

}  // namespace wt::assets
