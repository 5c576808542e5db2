// The fixed-column move lines and the check of every move of a record.
#include "record/record_file.h"

#include <gtest/gtest.h>

#include "tests/record/same_entry.h"

namespace nirvex::record {
namespace {

using nirvex::testing::mv;

std::string line_of(const MoveRecord& m) {
  std::string out;
  EXPECT_TRUE(format_move_line(m, out));
  return out;
}

// The short game of the window tests: captures, a promotion and a drop by
// each side.
std::vector<MoveRecord> short_game() {
  return {mv(1, 5, 1, 4, -20, -20, 0),       mv(6, 2, 6, 3, 20, 20, 0),
          mv(5, 6, 2, 3, -800, -800, 0),     mv(6, 3, 6, 4, 20, 20, 0),
          mv(2, 3, 4, 1, -801, -800, 100),   mv(5, 1, 4, 1, 110, 110, -801),
          mv(8, 3, 3, 3, -100, -100, 0),     mv(-1, 2, 2, 4, 800, 800, 0)};
}

TEST(MoveLine, HasThirtySevenFixedColumnsWithPieceAfterFirst) {
  // A lower pawn from column 3, row 5 to row 4, lower clock 0 -> 5.
  EXPECT_EQ(line_of(mv(3, 5, 3, 4, -20, -20, 0, 0, 5, 0, 0)),
            " 3534 -20 -20   0    0    5    0    0");
  // A promotion: piece_after (-801) stands before piece_before (-800).
  EXPECT_EQ(line_of(mv(2, 3, 4, 1, -801, -800, 100, 17, 1251, 10, 10)),
            " 2341-801-800 100   17 1251   10   10");
}

TEST(MoveLine, DropsWriteTheirHandColumn) {
  EXPECT_EQ(line_of(mv(-1, 2, 2, 4, 800, 800, 0)).substr(0, 2), "-1");
  EXPECT_EQ(line_of(mv(8, 3, 3, 3, -100, -100, 0)).substr(0, 2), " 8");
}

TEST(MoveLine, CapturedSilverAndNothingCaptured) {
  EXPECT_EQ(line_of(mv(2, 3, 4, 1, -801, -800, 100)).substr(13, 4), " 100");
  EXPECT_EQ(line_of(mv(1, 5, 1, 4, -20, -20, 0)).substr(13, 4), "   0");
}

TEST(MoveLine, ClocksAreWholeSecondsAndAtMostFiveDigits) {
  EXPECT_EQ(clock_field_value(1234.7), 1234);
  EXPECT_EQ(clock_field_value(99999.9), 99999);
  EXPECT_EQ(clock_field_value(123456), 99999);
  EXPECT_EQ(clock_field_value(-3), 0);
  const std::string l = line_of(mv(1, 5, 1, 4, -20, -20, 0, 1234.7, 123456, 0, 7.99));
  EXPECT_EQ(l.size(), 37u);
  EXPECT_EQ(l.substr(17, 5), " 1234");
  EXPECT_EQ(l.substr(22, 5), "99999");
  EXPECT_EQ(l.substr(32, 5), "    7");
}

TEST(MoveLine, AValueThatDoesNotFitIsNotWritten) {
  std::string out = "unchanged";
  EXPECT_FALSE(format_move_line(mv(100, 5, 1, 4, -20, -20, 0), out));
  EXPECT_EQ(out, "unchanged");
}

TEST(MoveLine, ReadsBackTheElevenValues) {
  for (const MoveRecord& m : short_game()) {
    MoveRecord back;
    RecordFault f;
    ASSERT_TRUE(parse_move_line(line_of(m), back, f)) << f.text;
    EXPECT_EQ(back.from_col, m.from_col);
    EXPECT_EQ(back.from_row, m.from_row);
    EXPECT_EQ(back.to_col, m.to_col);
    EXPECT_EQ(back.to_row, m.to_row);
    EXPECT_EQ(back.piece_after, m.piece_after);
    EXPECT_EQ(back.piece_before, m.piece_before);
    EXPECT_EQ(back.captured, m.captured);
  }
}

TEST(MoveLine, RefusesWhatIsNotAMoveLine) {
  const std::string good = " 1514 -20 -20   0    0    5    0    0";
  MoveRecord m;
  RecordFault f;
  EXPECT_FALSE(parse_move_line(good.substr(0, 30), m, f));
  EXPECT_EQ(f.text, "指し手の行は37桁のはずが30桁です");
  EXPECT_FALSE(parse_move_line(good + " ", m, f));
  EXPECT_FALSE(parse_move_line(" 1514 -2x -20   0    0    5    0    0", m, f));
  EXPECT_EQ(f.text, "6〜9桁目の移動後の駒が数値ではありません「 -2x」");
  EXPECT_FALSE(parse_move_line(" 1514     -20   0    0    5    0    0", m, f));
  EXPECT_FALSE(parse_move_line(" 1514 - 2 -20   0    0    5    0    0", m, f));
  EXPECT_FALSE(parse_move_line(" 1514 +20 -20   0    0    5    0    0", m, f));
  EXPECT_FALSE(parse_move_line(" 1504 -20 -20   0    0    5    0    0", m, f));
  EXPECT_EQ(f.text, "移動先の列 0 は範囲外です（1〜6）");
  EXPECT_FALSE(parse_move_line(" 9514 -20 -20   0    0    5    0    0", m, f));
  EXPECT_EQ(f.text, "移動元の列 9 は範囲外です（1〜6、持ち駒は8か-1）");
  EXPECT_FALSE(parse_move_line(" 1517 -20 -20   0    0    5    0    0", m, f));
  EXPECT_FALSE(parse_move_line(" 1514 111 -20   0    0    5    0    0", m, f));
  EXPECT_EQ(f.text, "移動後の駒 111 は駒の番号ではありません");
  EXPECT_FALSE(parse_move_line(" 1514 -20 -20  19    0    5    0    0", m, f));
  EXPECT_FALSE(parse_move_line(" 1514 -20 -20   0    0   -5    0    0", m, f));
  EXPECT_EQ(f.text, "下側の経過時間(後) -5 は範囲外です（0〜99999）");
  // Leading zeros read as the number they spell.
  ASSERT_TRUE(parse_move_line(" 1514 -20 -20 000 0000 0005    0    0", m, f));
  EXPECT_EQ(m.lower_clock_after, 5);
}

TEST(CheckMoves, AcceptsCapturesPromotionsAndDropsOfBothSides) {
  RecordFault f;
  EXPECT_TRUE(check_moves(short_game(), 4, f)) << describe(f);
}

TEST(CheckMoves, EitherSideMayMoveFirst) {
  RecordFault f;
  EXPECT_TRUE(check_moves({mv(6, 2, 6, 3, 20, 20, 0), mv(1, 5, 1, 4, -20, -20, 0)}, 4, f))
      << describe(f);
}

TEST(CheckMoves, TheComputersDropsNameTheHandKind) {
  auto moves = short_game();
  moves.back().from_row = 5;  // the computer writes the kind, not the slot
  RecordFault f;
  EXPECT_TRUE(check_moves(moves, 4, f)) << describe(f);
}

TEST(CheckMoves, APieceMayStayUnpromotedWhereItMustNot) {
  // The middle button plays even a pawn onto the last row unpromoted.
  std::vector<MoveRecord> moves = {
      mv(1, 5, 1, 4, -20, -20, 0), mv(6, 2, 6, 3, 20, 20, 0),
      mv(1, 4, 1, 3, -20, -20, 0), mv(6, 3, 6, 4, 20, 20, 0),
      mv(1, 3, 1, 2, -20, -20, 0), mv(6, 4, 6, 5, 20, 20, 0),
      mv(1, 2, 1, 1, -20, -20, 900)};
  RecordFault f;
  EXPECT_TRUE(check_moves(moves, 4, f)) << describe(f);
}

struct BadGame {
  std::vector<MoveRecord> moves;
  int line;
  std::string text;
};

TEST(CheckMoves, NamesTheLineAndTheFault) {
  const MoveRecord first = mv(1, 5, 1, 4, -20, -20, 0);
  const std::vector<BadGame> cases = {
      {{mv(3, 3, 3, 2, -20, -20, 0)}, 4,
       "移動元(3,3)の駒は 0 で、移動前の駒 -20 と違います"},
      {{first, mv(2, 6, 2, 5, -110, -110, 0)}, 5,
       "手番が交互になっていません（下側が続けて指しています）"},
      {{mv(1, 5, 1, 4, -20, -20, 20)}, 4,
       "移動先(1,4)の駒は 0 で、取った駒 20 と違います"},
      {{mv(1, 5, 1, 4, -20, -20, -110)}, 4, "取った駒 -110 は相手の駒ではありません"},
      {{mv(1, 5, 1, 3, -20, -20, 0)}, 4, "駒 -20 は(1,5)から(1,3)へ動けません"},
      {{mv(1, 5, 1, 4, -21, -20, 0)}, 4, "駒 -20 は -21 に成れません"},
      {{mv(1, 5, 1, 4, 20, -20, 0)}, 4, "移動前の駒 -20 と移動後の駒 20 の持ち主が違います"},
      {{mv(8, 1, 3, 3, -20, -20, 0)}, 4, "持ち駒にない駒 -20 を打っています"},
      {{mv(-1, 1, 3, 3, -20, -20, 0)}, 4, "持ち駒の列 -1 と打つ駒 -20 の持ち主が違います"},
      {{mv(8, 1, 3, 3, -950, -950, 0)}, 4, "駒 -950 は打てません"},
      {{mv(8, 1, 3, 3, -21, -21, 0)}, 4, "駒 -21 は打てません"},
  };
  for (const BadGame& c : cases) {
    RecordFault f;
    EXPECT_FALSE(check_moves(c.moves, 4, f)) << c.text;
    EXPECT_EQ(f.line, c.line) << c.text;
    EXPECT_EQ(f.text, c.text);
  }
}

TEST(CheckMoves, DropsFollowTheDropRules) {
  // After the silver capture the lower hand holds a silver; a pawn dropped
  // where the side already has one, or a drop on a piece, is refused.
  auto game = short_game();
  game.resize(6);
  auto with = [&](MoveRecord extra) {
    auto g = game;
    g.push_back(extra);
    return g;
  };
  RecordFault f;
  EXPECT_FALSE(check_moves(with(mv(8, 3, 1, 6, -100, -100, 0)), 4, f));
  EXPECT_EQ(f.text, "駒のある升(1,6)に打っています");
  EXPECT_FALSE(check_moves(with(mv(8, 3, 3, 3, -101, -100, 0)), 4, f));
  EXPECT_EQ(f.text, "打った駒が成っています");
  EXPECT_TRUE(check_moves(with(mv(8, 3, 3, 3, -100, -100, 0)), 4, f)) << describe(f);

  // Upper side: after taking the bishop it may drop it, but a pawn it does
  // not hold may not be dropped.
  game.push_back(mv(8, 3, 3, 3, -100, -100, 0));
  EXPECT_FALSE(check_moves(with(mv(-1, 6, 3, 4, 20, 20, 0)), 4, f));
  EXPECT_EQ(f.text, "持ち駒にない駒 20 を打っています");
}

TEST(CheckMoves, TheCaptureOfAKingEndsTheGame) {
  // Lower rook walks up the open column 6 after the upper pawn moved away.
  std::vector<MoveRecord> moves = {
      mv(6, 2, 5, 2, 20, 20, 0)};  // not a pawn move: refused
  RecordFault f;
  EXPECT_FALSE(check_moves(moves, 4, f));

  moves = {mv(5, 6, 4, 5, -800, -800, 0), mv(6, 2, 6, 3, 20, 20, 0),
           mv(4, 5, 1, 2, -801, -800, 0), mv(6, 3, 6, 4, 20, 20, 0),
           mv(1, 2, 2, 1, -801, -801, 800), mv(6, 4, 6, 5, 20, 20, 0),
           mv(2, 1, 3, 1, -801, -801, 30),  mv(6, 5, 5, 6, 21, 20, 0)};
  // The pawn cannot go diagonally: refused on that line.
  EXPECT_FALSE(check_moves(moves, 4, f));
  EXPECT_EQ(f.line, 11);

  moves = {mv(5, 6, 4, 5, -800, -800, 0), mv(6, 2, 6, 3, 20, 20, 0),
           mv(4, 5, 1, 2, -801, -800, 0), mv(6, 3, 6, 4, 20, 20, 0),
           mv(1, 2, 2, 1, -801, -801, 800), mv(6, 4, 6, 5, 20, 20, 0),
           mv(2, 1, 3, 1, -801, -801, 30),  mv(5, 1, 5, 2, 110, 110, 0),
           mv(3, 1, 4, 1, -801, -801, 100), mv(5, 2, 5, 3, 110, 110, 0),
           mv(4, 1, 5, 1, -801, -801, 0),   mv(5, 3, 5, 4, 110, 110, 0),
           mv(5, 1, 6, 1, -801, -801, 950)};
  EXPECT_TRUE(check_moves(moves, 4, f)) << describe(f);
  moves.push_back(mv(5, 4, 5, 5, 111 - 1, 110, 0));
  EXPECT_FALSE(check_moves(moves, 4, f));
  EXPECT_EQ(f.line, 17);
  EXPECT_EQ(f.text, "王が取られて終わった後に指し手があります");
}

std::vector<std::string> lines_of(const std::vector<MoveRecord>& moves) {
  std::vector<std::string> lines = {"対局", "上", "下"};
  for (const MoveRecord& m : moves) lines.push_back(line_of(m));
  return lines;
}

TEST(ParseRecord, ReadsHeaderAndMoves) {
  LoadedRecord r;
  RecordFault f;
  ASSERT_TRUE(parse_record_lines(lines_of(short_game()), r, f)) << describe(f);
  EXPECT_EQ(r.header.game_name, "対局");
  EXPECT_EQ(r.header.upper_name, "上");
  EXPECT_EQ(r.header.lower_name, "下");
  EXPECT_EQ(r.moves.size(), 8u);
}

TEST(ParseRecord, OnlyHeadersIsAnEmptyRecordAndBlankLinesAtTheEndDoNotCount) {
  LoadedRecord r;
  RecordFault f;
  ASSERT_TRUE(parse_record_lines({"a", "", ""}, r, f));
  EXPECT_TRUE(r.moves.empty());
  auto lines = lines_of(short_game());
  lines.push_back("");
  lines.push_back("  ");
  ASSERT_TRUE(parse_record_lines(lines, r, f)) << describe(f);
  EXPECT_EQ(r.moves.size(), 8u);
  // A blank line between moves is a fault.
  lines = lines_of(short_game());
  lines.insert(lines.begin() + 5, "");
  EXPECT_FALSE(parse_record_lines(lines, r, f));
  EXPECT_EQ(f.line, 6);
}

TEST(ParseRecord, MissingHeaderLines) {
  LoadedRecord r;
  RecordFault f;
  EXPECT_FALSE(parse_record_lines({}, r, f));
  EXPECT_EQ(describe(f), "1行目: 見出しの行（対局名）がありません");
  EXPECT_FALSE(parse_record_lines({"a", "b"}, r, f));
  EXPECT_EQ(describe(f), "3行目: 見出しの行（下側の対局者名）がありません");
}

TEST(ParseRecord, FiveHundredMovesAndNoMore) {
  std::vector<MoveRecord> moves;
  const MoveRecord cycle[4] = {mv(2, 6, 2, 5, -110, -110, 0), mv(5, 1, 5, 2, 110, 110, 0),
                               mv(2, 5, 2, 6, -110, -110, 0), mv(5, 2, 5, 1, 110, 110, 0)};
  for (int i = 0; i < 500; ++i) moves.push_back(cycle[i % 4]);
  LoadedRecord r;
  RecordFault f;
  ASSERT_TRUE(parse_record_lines(lines_of(moves), r, f)) << describe(f);
  EXPECT_EQ(r.moves.size(), 500u);
  moves.push_back(cycle[0]);
  EXPECT_FALSE(parse_record_lines(lines_of(moves), r, f));
  EXPECT_EQ(describe(f), "504行目: 指し手が500手を超えています");
}

TEST(ParseRecord, ReportsTheFirstFaultInLineOrder) {
  auto lines = lines_of(short_game());
  lines[4] = " 3332 -20 -20   0    0    5    0    0";  // line 5: from an empty square
  lines[8] = "junk";                                   // line 9: not a move line
  LoadedRecord r;
  RecordFault f;
  EXPECT_FALSE(parse_record_lines(lines, r, f));
  EXPECT_EQ(f.line, 5);
  lines[4] = line_of(short_game()[1]);
  EXPECT_FALSE(parse_record_lines(lines, r, f));
  EXPECT_EQ(f.line, 9);
}

TEST(ParseRecord, ControlCharactersMeanItIsNoTextFile) {
  LoadedRecord r;
  RecordFault f;
  EXPECT_FALSE(parse_record_lines({"a", std::string("b\0c", 3), "c"}, r, f));
  EXPECT_EQ(describe(f), "2行目: 制御文字が含まれています（文字の棋譜ﾌｧｲﾙではありません）");
  EXPECT_TRUE(parse_record_lines({"a\tb", "", ""}, r, f));
}

TEST(ComposeRecord, WritesHeaderThenMovesWithCrLf) {
  std::string text, error;
  const auto moves = short_game();
  ASSERT_TRUE(compose_record({"名", "上", "下"}, moves.data(), 2, text, error));
  EXPECT_EQ(text,
            "名\r\n上\r\n下\r\n"
            " 1514 -20 -20   0    0    0    0    0\r\n"
            " 6263  20  20   0    0    0    0    0\r\n");
  EXPECT_FALSE(compose_record({"a\nb", "", ""}, moves.data(), 1, text, error));
  EXPECT_EQ(error, "対局名に改行が含まれています");
}

}  // namespace
}  // namespace nirvex::record
