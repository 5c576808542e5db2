// The one game object: board, hands, sides, turn, play mode, level, clocks,
// game record and the constants everything else is measured in.
#pragma once

#include <array>

#include "model/move.h"

namespace nirvex {

constexpr PieceCode empty_code = 0;
constexpr PieceCode code_pawn = 20;
constexpr PieceCode code_pawn_promoted = 21;
constexpr PieceCode code_knight = 30;
constexpr PieceCode code_knight_promoted = 31;
constexpr PieceCode code_silver = 100;
constexpr PieceCode code_silver_promoted = 101;
constexpr PieceCode code_gold = 110;
constexpr PieceCode code_reserved = 111;  // never stands on the board
constexpr PieceCode code_bishop = 800;
constexpr PieceCode code_bishop_promoted = 801;
constexpr PieceCode code_rook = 900;
constexpr PieceCode code_rook_promoted = 901;
constexpr PieceCode code_king = 950;

// Yes/no values of the rule tests.
constexpr int flag_on = 1;
constexpr int flag_off = 0;

// Side tokens.  Which token is the lower side changes from game to game.
constexpr int side_none = 0;

constexpr int mode_two_players = 0;
constexpr int mode_vs_computer = 1;

constexpr int button_left = 1;
constexpr int button_right = 2;
constexpr int button_middle = 4;

// Screen geometry in twips: cell (0, 0) has its top-left corner at
// (board_left, board_top); the board squares are cells 1..6.
constexpr int board_left = 1050;
constexpr int board_top = 100;
constexpr int cell_width = 570;
constexpr int cell_height = 660;
constexpr int board_size = 6;

// Picture ids besides the piece codes.
constexpr int title_picture_id = 1;
constexpr int background_green = 2;
constexpr int background_tatami = 3;
constexpr int background_bamboo = 4;
constexpr int background_space = 5;
constexpr int background_brick = 6;

// Indices into the classic 16-colour palette.
constexpr int colour_black = 0;
constexpr int colour_green = 2;
constexpr int colour_light_red = 12;
constexpr int colour_yellow = 14;
constexpr int colour_white = 15;
constexpr int colour_background = colour_green;
constexpr int colour_frame = colour_green;
constexpr int colour_plain = colour_green;
constexpr int colour_pick = colour_light_red;
constexpr int colour_shadow = colour_black;
constexpr int colour_label = colour_yellow;
constexpr int colour_text = colour_white;
constexpr int colour_last_move = colour_white;

// The game record never holds more than this many moves.
constexpr int max_record_moves = 500;

// One move of the game record: the move itself (for a drop from_row is
// the hand slot's screen row), what it took, and both sides' clocks before
// and after it.  Eleven values.
struct MoveRecord : Move {
  PieceCode captured = 0;      // what stood on the destination before
  double lower_clock_before = 0;
  double lower_clock_after = 0;
  double upper_clock_before = 0;
  double upper_clock_after = 0;
};

// Index [x][y] with x the column and y the row, both 1..6; index 0 unused.
using BoardArray = std::array<std::array<PieceCode, 7>, 7>;
// Hand counts by kind 1..6: pawn, knight, silver, gold, bishop, rook.
using HandArray = std::array<int, 7>;
using ColumnFlags = std::array<int, 7>;

struct GameState {
  BoardArray board{};
  HandArray lower_hand{};
  HandArray upper_hand{};
  int lower_hand_total = 0;
  int upper_hand_total = 0;
  int lower_king_x = 1, lower_king_y = 6;
  int upper_king_x = 6, upper_king_y = 1;

  int first_side = 1;
  int second_side = -1;
  int lower_side = -1;  // second_side at program start
  int upper_side = 1;   // first_side at program start
  int turn = side_none;
  int winner = side_none;

  int play_mode = mode_two_players;
  int level = 3;
  int move_number = 0;

  int pick_state = 0;
  int pick_from_col = 0, pick_from_row = 0;
  int pick_to_col = 0, pick_to_row = 0;
  PieceCode pick_piece = 0;
  PieceCode promoted_piece = 0;

  // Per column 1..6: does an unpromoted pawn of that side stand there?
  ColumnFlags lower_pawn_columns{};
  ColumnFlags upper_pawn_columns{};

  int kifu_mode = flag_off;
  int flipped = flag_off;
  int guidance_on = flag_off;
  int announce_pending = flag_off;
  int colour_guide = colour_plain;
  int background_id = background_green;

  // Clocks, in seconds (the start time is seconds since midnight).
  double turn_start_time = 0;
  double turn_elapsed = 0;
  int shown_seconds = 0;
  double lower_time_total = 0;
  double upper_time_total = 0;

  int record_pos = 0;
  int record_len = 0;
  std::array<MoveRecord, max_record_moves + 1> move_records{};  // [1..500]
};

// What apply_move changed, so that the window can repaint exactly that.
// piece_before is left 0: the model does not know it.
struct MoveChanges : Move {
  PieceCode captured = 0;
  bool upper_hand_changed = false;
  bool lower_hand_changed = false;
};

// True for a square of the board (columns and rows 1..6).
inline bool on_board(int col, int row) { return col >= 1 && col <= 6 && row >= 1 && row <= 6; }

// True for a lower-side piece (code <= -20) or an upper-side one (>= 20).
inline bool is_lower_piece(PieceCode c) { return c <= -code_pawn; }
inline bool is_upper_piece(PieceCode c) { return c >= code_pawn; }

// Code of hand kind 1..6 for the lower (negative) or upper side.
PieceCode hand_kind_code(int kind, bool upper);
// Hand kind 1..6 of a code of either side (promoted pieces go back
// unpromoted, the reserved 111 counts as a gold); 0 for no piece.
int hand_kind_of(PieceCode code);

// Puts the fields of a fresh game in place: empty hands, the initial
// position, nobody to move.  Leaves record_len, level, the sides, the
// background and the guidance switch alone.  The caller stops the clock
// display and repaints everything.
void new_game(GameState& g);

// Places the fourteen pieces of the initial position on an empty board.
void place_initial_position(GameState& g);

// Sets each hand's total to the sum of its positive kind counts.
void count_hand_totals(GameState& g);

// Records the squares of both kings as they stand on the board.
void locate_kings(GameState& g);

// Carries out one board move or drop.  `piece` is what stands on the
// destination afterwards (already promoted where the mover chose so).
// A captured piece goes into the captor's hand; a captured king sets the
// winner instead.  Returns what changed, for repainting.
MoveChanges apply_move(GameState& g, int from_col, int from_row, int to_col,
                       int to_row, PieceCode piece);

// Adds a captured piece to its captor's hand, or records the winner when
// the piece is a king.
void take_into_hand(GameState& g, PieceCode code);

// Appends one move to the game record at the cursor, dropping everything
// that lay beyond it.  Call before the mover is placed on the destination:
// the destination's content is stored as the captured code.  Returns false
// (and writes nothing) when the record already holds its 500 moves.
bool append_move_record(GameState& g, int from_col, int from_row, int to_col,
                        int to_row, PieceCode piece_before,
                        PieceCode piece_after, double lower_clock_before,
                        double lower_clock_after, double upper_clock_before,
                        double upper_clock_after);

// True when the record has no room for another move.
inline bool record_full(const GameState& g) {
  return g.record_pos >= max_record_moves;
}

}  // namespace nirvex
