// A window shown for the first time is told twice that it is exposed: once when it is mapped and
// once by the window system's own expose event, both read before its first paint. The widgets
// paint and put the whole window on screen on the first; on the second, with nothing left to
// paint, every pixel is put on screen again: 4 MB more for the window system to copy for an
// exercise window at 100 %, 9 MB at 150 %, before it answers anyone's next request.
#pragma once

class QWindow;

namespace wt::qt {

// From now on, an exposure of `window` that comes in the same batch of window system events as
// its first exposure, for a region that first paint covered, is dropped. Exposures of later
// batches (the window uncovered, restored, shown again) pass.
void dropRepeatedExposure(QWindow& window);

}  // namespace wt::qt
