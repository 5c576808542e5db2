// The window as the game flow sees it: what the game's one window offers
// and nothing of how a toolkit does it.  Positions are twips of the
// painted area (cell (0, 0) of the board grid starts at (1050, 100)).
// The Qt window implements it; the console tool's headless window and the
// tests' fake window do too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nirvex {

enum class MsgButtons { ok, yes_no };
enum class MsgIcon { none, warning };
enum class MsgAnswer { ok, yes, no };

// A moment of the local calendar, for naming files.
struct LocalDateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

class Form {
 public:
  virtual ~Form() = default;

  // ---- The drawing surface. ----
  // Fills the whole surface with a palette colour.
  virtual void fill(int colour) = 0;
  // Paints a picture (piece code, picture id or background id) at its
  // natural size with its top-left corner at (x, y); unknown ids paint
  // nothing.
  virtual void paint_picture(int id, double x, double y) = 0;
  // Outlines the rectangle from (left, top) to (right, bottom), one
  // natural pixel (15 twips) wide from its edges, in a palette colour.
  virtual void paint_frame(int colour, double left, double top, double right,
                           double bottom) = 0;
  // Lays a translucent wash of a palette colour over the rectangle of a
  // board square or hand slot whose picture was painted at (left, top):
  // the wood shows the colour, a piece standing there keeps its own.
  virtual void paint_tint(int colour, double left, double top, double right,
                          double bottom) = 0;
  // Prints text (UTF-8) with its top-left corner at (x, y) in the window
  // font at `size` points.
  virtual void print_text(double x, double y, const std::string& text, int colour, int size,
                          bool bold) = 0;
  // Shows what was painted now, without waiting for the event loop.
  virtual void refresh() = 0;

  // ---- Message boxes (modal): text and title in UTF-8. ----
  virtual MsgAnswer message(const std::string& text, const std::string& title,
                            MsgButtons buttons, MsgIcon icon) = 0;

  // ---- Timer1 (50 ms), the clock and pauses. ----
  virtual void start_timer() = 0;
  virtual void stop_timer() = 0;
  virtual bool timer_running() const = 0;
  // Seconds since midnight, with fractions.
  virtual double now() = 0;
  // Today's date and the time of day, to the second.
  virtual LocalDateTime date_time() = 0;
  // A short wait that blocks the game.
  virtual void pause(double seconds) = 0;

  // ---- Menu check marks, by item name ("LEVEL3", "KEIKA", ...). ----
  virtual bool checked(std::string_view item) const = 0;
  virtual void set_checked(std::string_view item, bool on) = 0;

  // ---- The record panel. ----
  // Visibility of the drive, folder and file lists.
  virtual void show_file_lists(bool drives, bool dirs, bool files) = 0;
  // 0 shows the name panel with its texts; any other value empties the
  // four text boxes and hides it.
  virtual void show_name_panel(int mode) = 0;
  // Text of Text1 (file name), Text2 (game), Text3 (first), Text4 (second).
  virtual std::string text_field(int number) const = 0;
  // The folder the lists show, where records are saved.
  virtual std::string record_folder() const = 0;

  // ---- The program. ----
  // The handle the sound library is opened for.
  virtual std::intptr_t window_handle() const = 0;
  // Ends the program once the window has released its sounds.
  virtual void end_program() = 0;
};

}  // namespace nirvex
