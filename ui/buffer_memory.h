#pragma once

#include <QImage>

namespace nirvex {

// A picture of `width` × `height` 32-bit pixels for the back buffer, its
// memory left out of any process this one starts: a child only runs
// another program, and sharing the buffer's pages with it, however
// briefly, would make the next write to each of them fault once more
// (some four thousand faults, milliseconds of a move or of the start).
QImage buffer_picture(int width, int height);

}  // namespace nirvex
