#include "ui/flow/move_list.h"

#include "ui/flow/analysis_view.h"
#include "ui/flow/painting.h"

namespace nirvex {

MoveListRow move_list_row(const GameState& g, int index) {
  const MoveRecord& e = g.move_records[index];
  MoveListRow row;
  // The record may start after moves it does not hold (a pasted position).
  row.number = g.move_number - g.record_pos + index;
  // Odd moves are the first mover's, as a game is counted.
  row.side = row.number % 2 == 1 ? "▲" : "△";
  row.move = move_name(e);
  // Only the mover's clock moved; which one depends on who counted it.
  row.seconds = (e.lower_clock_after - e.lower_clock_before) +
                (e.upper_clock_after - e.upper_clock_before);
  return row;
}

void tell_move_list(Game& game) {
  // The analysis's results are shown while they belong to the record.
  tell_analysis_view(game);
  if (!game.move_list) return;
  const GameState& g = game.g;
  std::vector<MoveListRow> rows;
  rows.reserve(g.record_len);
  for (int i = 1; i <= g.record_len; ++i) rows.push_back(move_list_row(g, i));
  size_t first = 0;
  while (first < rows.size() && first < game.listed_rows.size() &&
         rows[first] == game.listed_rows[first])
    ++first;
  const bool rows_differ = first < rows.size() || first < game.listed_rows.size();
  if (rows_differ)
    game.move_list->rows_changed(static_cast<int>(first),
                                 std::vector<MoveListRow>(rows.begin() + first, rows.end()));
  game.listed_rows = std::move(rows);
  if (rows_differ || g.record_pos != game.listed_position) {
    game.listed_position = g.record_pos;
    game.move_list->position_changed(g.record_pos);
  }
}

}  // namespace nirvex
