// What a window's process says about its start: the moment its first full
// frame is out, then its memory and its idle wakeups.  Shared by the two
// programs the start benchmark starts, the game and the bare window.
#pragma once

class QWidget;

namespace nirvex::bench {

// Shows the window at the given size and writes "shown" to standard output
// the moment its first frame is out; lets it settle a few seconds, then
// writes its resident memory and the anonymous part of it (KiB) and how
// many times its threads woke in a second of doing nothing.
void show_and_report(QWidget& window, int width, int height);

}  // namespace nirvex::bench
