// Every game kept in the autosave folder: a game won, one left by Esc or
// for a new game, read back through the record reader; a loaded record
// only replayed is not kept again; a folder that cannot be written is
// told once; the newest games are kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "engine/move_list.h"
#include "model/rules.h"
#include "tests/flow/fake_form.h"
#include "ui/flow/autosave.h"
#include "ui/flow/program.h"
#include "ui/flow/record_menu.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"

namespace nirvex::testing {
namespace {

constexpr const char* folder = "/home/player/自動保存";

// A fixture whose games are kept in `folder`.
struct Kept : FlowFixture {
  Kept() { game.autosave_folder = folder; }
  // The names of the files in the folder.
  std::vector<std::string> names() { return records.record_names(folder); }
};

// A saved file read back through the record reader (header, every move
// replayed and checked).
record::LoadedRecord read_back(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  record::LoadedRecord out;
  record::RecordFault fault;
  EXPECT_TRUE(record::parse_record_lines(lines, out, fault)) << describe(fault);
  return out;
}

// The record of the game on the board, entry by entry.
std::vector<MoveRecord> moves_of(const GameState& g, int count) {
  return {g.move_records.begin() + 1, g.move_records.begin() + 1 + count};
}

void expect_same_moves(const std::vector<MoveRecord>& a, const std::vector<MoveRecord>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(static_cast<const Move&>(a[i]), b[i]) << i;
}

TEST(AutosaveFlow, AGameWonIsKeptWithThePlayersNamed) {
  // Two players move at random until a king is taken.
  Kept f;
  std::mt19937 rng(3);
  START_Click(f.game);
  GameState& g = f.game.g;
  std::vector<MoveRecord> played;
  for (int ply = 0; ply < 400 && g.turn != side_none; ++ply) {
    GameState copy = g;
    mark_pawn_columns(copy);
    const std::vector<RuleMove> moves = list_rule_moves(copy, g.turn == g.upper_side);
    const RuleMove m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
    const int fr = m.from_col == upper_hand_col ? 7 - m.from_row : m.from_row;
    played = moves_of(g, g.record_pos);
    f.move(m.from_col, fr, m.to_col, m.to_row, m.promotes() ? button_right : button_left);
  }
  ASSERT_EQ(g.turn, side_none) << "no king was taken";
  ASSERT_EQ(f.names().size(), 1u);
  const std::string name = f.names()[0];
  EXPECT_TRUE(name.starts_with("2026-12-08_10-00-")) << name;
  const record::LoadedRecord back = read_back(f.records.texts[name]);
  EXPECT_EQ(back.header.upper_name, "後手");
  EXPECT_EQ(back.header.lower_name, "先手");
  EXPECT_EQ(back.moves.size(), played.size() + 1);
  EXPECT_EQ(back.moves, f.records.files[name].moves);
  // "続けますか？" said Yes: the new game keeps nothing a second time.
  CANCEL_Click(f.game);
  EXPECT_EQ(f.records.saves, 1);
}

TEST(AutosaveFlow, GamesLeftByEscOrForANewGameAreKept) {
  Kept esc;
  SENTE_Click(esc.game);
  esc.move(1, 5, 1, 4);
  esc.move(2, 6, 1, 5);
  const std::vector<MoveRecord> before_esc = moves_of(esc.game.g, esc.game.g.record_len);
  Form_KeyPress(esc.game, 27);
  EXPECT_TRUE(esc.form.ended);
  ASSERT_EQ(esc.names().size(), 1u);
  const record::LoadedRecord back = read_back(esc.records.texts[esc.names()[0]]);
  EXPECT_EQ(back.header.upper_name, "LEVEL3");
  EXPECT_EQ(back.header.lower_name, "あなた");
  expect_same_moves(back.moves, before_esc);

  // Cut off by a new game, twice in the same second: two files.
  Kept cut;
  START_Click(cut.game);
  cut.move(1, 5, 1, 4);
  CANCEL_Click(cut.game);
  START_Click(cut.game);
  cut.move(2, 6, 2, 5);
  REVERSE_Click(cut.game);  // the half turn drops the record: kept first
  ASSERT_EQ(cut.names().size(), 2u);
  EXPECT_EQ(cut.names()[1], cut.names()[0] + "_2");
  expect_same_moves(read_back(cut.records.texts[cut.names()[0]]).moves,
                    cut.records.files[cut.names()[0]].moves);
  EXPECT_EQ(read_back(cut.records.texts[cut.names()[1]]).moves.back().piece_before, -code_gold);
  // Moves from the turned position replay from no start: nothing is kept.
  cut.move(1, 5, 1, 4);
  ASSERT_EQ(cut.game.g.record_len, 1);
  cut.form.shown.clear();
  Form_Unload(cut.game);
  EXPECT_EQ(cut.names().size(), 2u);
  EXPECT_TRUE(cut.form.shown.empty());
}

TEST(AutosaveFlow, ALoadedRecordOnlyReplayedIsNotKeptAgain) {
  Kept f;
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  f.move(6, 2, 6, 3);
  f.records.files["loaded"] = {{}, moves_of(f.game.g, 2)};
  File1_Click(f.game, "loaded");  // the game on the board is kept first
  EXPECT_EQ(f.records.saves, 1);
  AFTER_Click(f.game);
  AFTER_Click(f.game);
  REPLAY_Click(f.game);
  CANCEL_Click(f.game);
  Form_Unload(f.game);
  EXPECT_EQ(f.records.saves, 1);
}

TEST(AutosaveFlow, AFolderThatCannotBeWrittenIsToldOnceAndPlayGoesOn) {
  Kept f;
  f.records.refused_folder = folder;
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  f.form.shown.clear();
  CANCEL_Click(f.game);
  ASSERT_EQ(f.form.shown.size(), 1u);
  EXPECT_EQ(f.form.shown[0].title, "自動保存");
  EXPECT_NE(f.form.shown[0].text.find(folder), std::string::npos);
  EXPECT_NE(f.form.shown[0].text.find("Permission denied"), std::string::npos);
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  EXPECT_EQ(f.game.g.board[1][4], -code_pawn);
  f.form.shown.clear();
  Form_Unload(f.game);
  EXPECT_TRUE(f.form.shown.empty());
  EXPECT_TRUE(f.form.ended);
}

TEST(AutosaveFlow, TheNewestTwoHundredAreKeptAndOtherFilesStay) {
  Kept f;
  for (int i = 0; i < autosave_limit; ++i) {
    const LocalDateTime t{2025, 1 + i / 28, 1 + i % 28, 12, 0, 0};
    f.records.folders[folder].insert(autosave_name(t));
  }
  f.records.folders[folder].insert("my own game");
  f.records.folders[folder].insert("2025-01-01_12-00-00 copy");
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  CANCEL_Click(f.game);
  const std::vector<std::string> names = f.names();
  EXPECT_EQ(names.size(), static_cast<size_t>(autosave_limit) + 2);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2025-01-01_12-00-00"), 0);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2025-01-02_12-00-00"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "my own game"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2025-01-01_12-00-00 copy"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2026-12-08_10-00-00"), 1);
}

}  // namespace
}  // namespace nirvex::testing
