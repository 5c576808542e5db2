// The move list beside the board as the flow tells it, and the promotion
// question: on the fake window.
#include <gtest/gtest.h>

#include "tests/flow/fake_form.h"
#include "ui/flow/clocks.h"
#include "ui/flow/move_list.h"
#include "ui/flow/preferences.h"
#include "ui/flow/record_menu.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"

namespace nirvex::testing {
namespace {

using Told = std::vector<std::string>;

// The rows' texts as the list shows them: "▲６四歩".
std::vector<std::string> row_texts(const FakeMoveList& list) {
  std::vector<std::string> out;
  for (const MoveListRow& r : list.rows) out.push_back(r.side + r.move);
  return out;
}

// Three moves of a two-player game: pawn, pawn, bishop.
void three_moves(FlowFixture& f) {
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  f.move(6, 2, 6, 3);
  f.move(5, 6, 2, 3);
}

TEST(MoveListFlow, FollowsMovesStepsANewGameALoadAndAFlip) {
  FlowFixture f;
  EXPECT_EQ(f.move_list.position, 0);  // the start was told at once
  f.move_list.told.clear();
  three_moves(f);
  EXPECT_EQ(f.move_list.told, (Told{"rows 0 1", "position 1", "rows 1 1", "position 2",
                                    "rows 2 1", "position 3"}));
  EXPECT_EQ(row_texts(f.move_list), (std::vector<std::string>{"▲６四歩", "△１三歩", "▲５三角"}));
  EXPECT_EQ(f.move_list.rows[2].number, 3);

  // Steps move the position only; a move after two steps back replaces
  // the rest of the record from there.
  f.move_list.told.clear();
  REPLAY_Click(f.game);
  REPLAY_Click(f.game);
  EXPECT_EQ(f.move_list.told, (Told{"position 2", "position 1"}));
  f.move(5, 1, 5, 2);  // the upper gold instead of the pawn
  EXPECT_EQ(f.move_list.told, (Told{"position 2", "position 1", "rows 1 1", "position 2"}));
  EXPECT_EQ(row_texts(f.move_list), (std::vector<std::string>{"▲６四歩", "△２二金"}));

  // "最初" keeps the record, which a later start may step through again.
  f.records.files["one"] = {{}, {f.game.g.move_records[1]}};
  f.move_list.told.clear();
  CANCEL_Click(f.game);
  EXPECT_EQ(f.move_list.told, (Told{"position 0"}));
  EXPECT_EQ(f.move_list.rows.size(), 2u);

  // A loaded record replaces the rows that differ; its moves are stepped in.
  f.move_list.told.clear();
  File1_Click(f.game, "one");
  EXPECT_EQ(f.move_list.told, (Told{"rows 1 0", "position 0"}));
  AFTER_Click(f.game);
  EXPECT_EQ(f.move_list.position, 1);

  // A game against the computer begins here: the rest of the record goes.
  f.move_list.told.clear();
  CANCEL_Click(f.game);
  SENTE_Click(f.game);
  EXPECT_EQ(f.move_list.told, (Told{"position 0", "rows 0 0", "position 0"}));
  EXPECT_TRUE(f.move_list.rows.empty());

  // The player's move and the computer's answer, each with its time; a
  // flip drops the record.
  f.form.time += 7;
  Timer1_Timer(f.game);
  f.move(1, 5, 1, 4);
  ASSERT_EQ(f.move_list.rows.size(), 2u);
  EXPECT_EQ(f.move_list.rows[0].seconds, 7);
  EXPECT_EQ(f.move_list.rows[1].side, "△");
  EXPECT_EQ(f.move_list.position, 2);
  REVERSE_Click(f.game);
  EXPECT_TRUE(f.move_list.rows.empty());
  EXPECT_EQ(f.move_list.position, 0);
}

TEST(MoveListFlow, ARowNamesDropsAndPromotionsAndCountsOnAfterAPastedPosition) {
  GameState g;
  MoveRecord& drop = g.move_records[1];
  drop.from_col = upper_hand_col;
  drop.to_col = drop.to_row = 3;
  drop.piece_before = drop.piece_after = code_pawn;
  MoveRecord& promotion = g.move_records[2];
  promotion.from_col = promotion.to_col = 1;
  promotion.to_row = 2;
  promotion.piece_before = -code_pawn;
  promotion.piece_after = -code_pawn_promoted;
  promotion.lower_clock_after = 62.5;
  g.record_len = g.record_pos = g.move_number = 2;
  EXPECT_EQ(move_list_row(g, 1), (MoveListRow{1, "▲", "４三歩打", 0}));
  EXPECT_EQ(move_list_row(g, 2), (MoveListRow{2, "△", "６二歩成", 62.5}));
  g.move_number = 12;  // the record began after move 10
  EXPECT_EQ(move_list_row(g, 1).number, 11);
}

// The lower pawn walks to the second row while the upper pawn walks down.
void pawn_before_the_far_rows(FlowFixture& f) {
  START_Click(f.game);
  f.move(1, 5, 1, 4);
  f.move(6, 2, 6, 3);
  f.move(1, 4, 1, 3);
  f.move(6, 3, 6, 4);
}

TEST(MoveListFlow, WithTheQuestionOnALeftClickAsksOrPromotesWhereItMust) {
  for (const MsgAnswer answer : {MsgAnswer::yes, MsgAnswer::no}) {
    FlowFixture f;
    NARI_KAKUNIN_Click(f.game);
    EXPECT_EQ(f.settings.file.ask_promotion, true);
    pawn_before_the_far_rows(f);
    f.form.shown.clear();
    f.form.answers = {answer};
    f.move(1, 3, 1, 2);
    ASSERT_EQ(f.form.shown.size(), 1u);
    EXPECT_EQ(f.form.shown[0].text, "成りますか？");
    EXPECT_EQ(f.form.shown[0].buttons, MsgButtons::yes_no);
    EXPECT_EQ(f.game.g.board[1][2], answer == MsgAnswer::yes ? -code_pawn_promoted : -code_pawn);
    if (answer == MsgAnswer::yes) continue;
    // The unpromoted pawn must promote on the last row: no question.
    f.move(6, 4, 6, 5);
    f.form.shown.clear();
    f.move(1, 2, 1, 1);
    EXPECT_TRUE(f.form.shown.empty());
    EXPECT_EQ(f.game.g.board[1][1], -code_pawn_promoted);
  }
}

}  // namespace
}  // namespace nirvex::testing
