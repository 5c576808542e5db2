// Whole games through the game flow on a window that shows nothing: the
// human's moves are clicks, the computer answers on the same road.  No
// toolkit takes part.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/move_list.h"
#include "engine/sfen.h"
#include "model/rules.h"
#include "record/record_file.h"
#include "tests/engine/support/board_setup.h"
#include "tests/flow/fake_form.h"
#include "ui/flow/board_input.h"
#include "ui/flow/computer_turn.h"
#include "ui/flow/painting.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"

namespace nirvex::testing {
namespace {

// A random move of the side to move that the rules allow, as the player
// would click it: a hand slot by its screen row, the right button for a
// promotion.
struct Clicks {
  int fc, fr, tc, tr, button;
};
Clicks random_clicks(GameState g, std::mt19937& rng, bool upper) {
  mark_pawn_columns(g);
  const std::vector<RuleMove> moves = list_rule_moves(g, upper);
  EXPECT_FALSE(moves.empty());
  const RuleMove m = moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
  int fr = m.from_row;
  if (m.from_col == upper_hand_col) fr = 7 - m.from_row;
  return {m.from_col, fr, m.to_col, m.to_row, m.promotes() ? button_right : button_left};
}

// Every entry of the record replays on a fresh board as the game went.
void expect_record_replays(const GameState& g) {
  const std::vector<MoveRecord> moves(g.move_records.begin() + 1,
                                      g.move_records.begin() + 1 + g.record_len);
  record::RecordFault fault;
  EXPECT_TRUE(record::check_moves(moves, 1, fault)) << fault.line << ": " << fault.text;
}

TEST(GameFlow, WholeGamesAgainstTheComputerAtEveryLevel) {
  int checks = 0, mates = 0, computer_wins = 0, human_wins = 0;
  for (int level = 1; level <= 3; ++level)
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
      FlowFixture f;
      GameState& g = f.game.g;
      std::mt19937 rng(seed * 7919 + level);
      LEVEL_Click(f.game, level);
      (seed % 2 ? SENTE_Click : GOTE_Click)(f.game);
      f.form.shown.clear();
      int plies = 0;
      while (g.turn == g.lower_side && plies < 120) {
        const int before = g.record_pos;
        const Clicks c = random_clicks(g, rng, false);
        f.move(c.fc, c.fr, c.tc, c.tr, c.button);
        ++plies;
        if (g.turn == side_none) break;  // someone won; "続けますか？" said Yes
        ASSERT_EQ(g.record_pos, before + 2) << "one move each";
        ASSERT_EQ(g.move_number, g.record_pos);
        ASSERT_EQ(pieces_in_play(g), 14);
        expect_record_replays(g);
        // The computer moved an upper piece and handed the turn back.
        ASSERT_TRUE(is_upper_piece(g.move_records[g.record_pos].piece_after));
        ASSERT_FALSE(f.form.timer);  // every option is off, KEIKA too
      }
      for (const std::string& t : f.form.texts_shown()) {
        checks += t == "   ** 王手 **";
        mates += t == "よし！!";
        computer_wins += t == "ｺﾝﾋﾟｭｰﾀの勝ちです";
        human_wins += t == "あなたの勝ちです";
      }
      if (g.turn == side_none) {
        EXPECT_EQ(f.form.shown.back().text, "続けますか？");
      }
    }
  EXPECT_GT(checks, 0);
  EXPECT_GT(mates, 0);
  EXPECT_GT(computer_wins, 20);  // the random human loses nearly always
  EXPECT_GE(computer_wins + human_wins, 30);
}

TEST(GameFlow, TwoPlayersStepBackAndPlayOn) {
  FlowFixture f;
  GameState& g = f.game.g;
  START_Click(f.game);
  f.move(1, 5, 1, 4);   // lower pawn
  f.move(6, 2, 6, 3);   // upper pawn
  f.move(5, 6, 2, 3);   // lower bishop
  const BoardArray after_two = [&] {
    GameState copy = g;
    return copy.board;
  }();
  ASSERT_EQ(g.record_len, 3);
  REPLAY_Click(f.game);
  EXPECT_EQ(g.record_pos, 2);
  EXPECT_EQ(g.board[5][6], -800);
  EXPECT_EQ(g.turn, g.first_side);
  // The first click after the step says whose turn it is; then the lower
  // side plays another move, which replaces the rest of the record.
  f.form.shown.clear();
  f.move(2, 6, 2, 5);  // the lower gold
  EXPECT_EQ(f.form.texts_shown(), std::vector<std::string>{"先手の番です"});
  EXPECT_EQ(g.record_len, 3);
  EXPECT_EQ(g.move_records[3].piece_before, -110);
  f.form.shown.clear();
  AFTER_Click(f.game);
  EXPECT_EQ(f.form.texts_shown(), std::vector<std::string>{"できません"});
  (void)after_two;
  // Back to the start and forward again gives the same position.
  const BoardArray now = g.board;
  for (int i = 0; i < 3; ++i) REPLAY_Click(f.game);
  EXPECT_EQ(g.record_pos, 0);
  for (int i = 0; i < 3; ++i) AFTER_Click(f.game);
  EXPECT_EQ(g.board, now);
  expect_record_replays(g);
}

TEST(GameFlow, TwoPlayersEndWhenAKingIsTaken) {
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    FlowFixture f;
    GameState& g = f.game.g;
    std::mt19937 rng(seed);
    START_Click(f.game);
    f.form.answers = {MsgAnswer::no};
    int plies = 0;
    while (!f.form.ended && plies < 400) {
      const int before = g.record_pos;
      const Clicks c = random_clicks(g, rng, g.turn == g.upper_side);
      f.move(c.fc, c.fr, c.tc, c.tr, c.button);
      ++plies;
      if (f.form.ended) break;
      ASSERT_EQ(g.record_pos, before + 1);
      // No mate test between two humans: only a king taken ends the game.
      ASSERT_EQ(pieces_in_play(g), 14);
    }
    if (!f.form.ended) continue;
    const std::vector<std::string> t = f.form.texts_shown();
    ASSERT_GE(t.size(), 2u);
    EXPECT_TRUE(t[t.size() - 2] == "先手の勝ちです" || t[t.size() - 2] == "後手の勝ちです");
    EXPECT_EQ(t.back(), "続けますか？");
    int kings = 0;
    for (const auto& col : g.board) kings += static_cast<int>(std::count_if(
        col.begin(), col.end(), [](PieceCode c) { return c == code_king || c == -code_king; }));
    EXPECT_EQ(kings, 1);
    EXPECT_TRUE(f.game.sounds_released);
  }
}

// A bare board with the two kings, the human (lower side) to move against
// the computer.
void bare_kings(FlowFixture& f) {
  GameState& g = f.game.g;
  g.play_mode = mode_vs_computer;
  g.lower_side = g.first_side;
  g.upper_side = g.second_side;
  g.turn = g.lower_side;
  for (auto& col : g.board) col.fill(0);
  g.board[6][1] = 950;
  g.board[1][6] = -950;
  locate_kings(g);
  redraw_all(f.game);
}

TEST(GameFlow, TheHumanWinsByMateOrByTakingTheKing) {
  FlowFixture mate;
  bare_kings(mate);
  mate.game.g.board[5][3] = -100;
  mate.game.g.board[6][3] = -110;
  mate.move(6, 3, 6, 2);
  EXPECT_EQ(mate.form.texts_shown(), (std::vector<std::string>{"あなたの勝ちです", "続けますか？"}));
  EXPECT_EQ(mate.game.g.turn, side_none);
  EXPECT_EQ(mate.game.com_turns, 0);

  FlowFixture take;
  bare_kings(take);
  take.game.g.board[6][3] = -900;
  take.form.answers = {MsgAnswer::no};
  take.move(6, 3, 6, 1);
  EXPECT_EQ(take.form.texts_shown().front(), "あなたの勝ちです");
  EXPECT_TRUE(take.form.ended);
}

TEST(GameFlow, TheComputerTakesTheKingOrChecks) {
  FlowFixture take;
  bare_kings(take);
  GameState& g = take.game.g;
  g.board[1][6] = 0;
  g.board[3][3] = -950;
  g.board[3][1] = 900;
  locate_kings(g);
  g.turn = g.upper_side;
  com_ban(take.game);
  EXPECT_EQ(take.form.texts_shown(), (std::vector<std::string>{"ｺﾝﾋﾟｭｰﾀの勝ちです", "続けますか？"}));

  // The human's pawn steps forward and opens the file in front of the
  // king; the computer's rook takes it with check, announced with three
  // blanks and no title.
  FlowFixture check;
  GameState& h = check.game.g;
  SENTE_Click(check.game);
  check.form.shown.clear();
  check.move(1, 5, 1, 4);
  ASSERT_EQ(check.game.com_turns, 1);
  EXPECT_EQ(h.board[1][4], 900);
  EXPECT_EQ(check.form.texts_shown(), std::vector<std::string>{"   ** 王手 **"});
  EXPECT_EQ(check.form.shown.back().title, "");
  EXPECT_EQ(h.turn, h.lower_side);
  EXPECT_EQ(h.move_number, 2);
}

// Taking the king wins even where the mate test, reading the square the
// king stood on, would say mate: the game must not go on without a king.
TEST(GameFlow, TakingTheKingWinsBeforeAnyMateIsAnnounced) {
  FlowFixture f;
  GameState& g = f.game.g;
  std::string error;
  ASSERT_TRUE(read_sfen("3+b1+N/1p2k1/1nS2g/4+R1/G2rKS/4Pb w - 1", g, error)) << error;
  g.play_mode = mode_vs_computer;
  ASSERT_EQ(g.turn, g.upper_side);
  com_ban(f.game);
  EXPECT_EQ(f.form.texts_shown(), (std::vector<std::string>{"ｺﾝﾋﾟｭｰﾀの勝ちです", "続けますか？"}));
  EXPECT_EQ(g.turn, side_none);
}

TEST(GameFlow, TheRecordEndsAtFiveHundredMoves) {
  FlowFixture f;
  GameState& g = f.game.g;
  START_Click(f.game);
  // The two kings walk up and down beside each other, away from anything
  // that could take them.
  for (auto& col : g.board) col.fill(0);
  g.board[1][6] = -950;
  g.board[6][1] = 950;
  locate_kings(g);
  for (int i = 0; i < 500; ++i) {
    const bool lower = g.turn == g.lower_side;
    const int col = lower ? 1 : 6;
    const int row = lower ? (i % 4 == 0 ? 6 : 5) : (i % 4 == 1 ? 1 : 2);
    const int to = lower ? (row == 6 ? 5 : 6) : (row == 1 ? 2 : 1);
    f.move(col, row, col, to);
    ASSERT_EQ(g.record_pos, i + 1);
  }
  f.form.shown.clear();
  f.sound.played.clear();
  const GameState before = g;
  f.move(1, 6, 1, 5);
  EXPECT_EQ(f.form.texts_shown(),
            std::vector<std::string>{"棋譜が500手に達しました。これ以上は指せません"});
  EXPECT_EQ(f.sound.played, std::vector<int>{f.game.snd_forbidden});
  EXPECT_EQ(g.board, before.board);
  EXPECT_EQ(g.record_pos, 500);
  EXPECT_EQ(g.pick_state, 0);

  // The computer is refused the same way, with its clock stopped.
  g.play_mode = mode_vs_computer;
  g.turn = g.upper_side;
  f.form.shown.clear();
  com_ban(f.game);
  EXPECT_EQ(f.form.texts_shown(),
            std::vector<std::string>{"棋譜が500手に達しました。これ以上は指せません"});
  EXPECT_FALSE(f.form.timer);
  EXPECT_FALSE(f.game.last_com_played);
  EXPECT_EQ(g.record_pos, 500);
}

}  // namespace
}  // namespace nirvex::testing
