// Saving with "RETURN" and loading with a click in the file list: the
// exact bytes written, the round trip, the header lines, the sides of a
// loaded game, every refusal, and damaged files.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include <cstring>

#include "tests/record/same_entry.h"
#include "tests/ui/record_fixture.h"

namespace nirvex::testing {
namespace {

class RecordFiles : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    start_two_players();
  }

  void expect_initial_position() {
    GameState fresh;
    nirvex::new_game(fresh);
    EXPECT_EQ(w->g.board, fresh.board);
    for (int k = 1; k <= 6; ++k) {
      EXPECT_EQ(w->g.lower_hand[k], 0);
      EXPECT_EQ(w->g.upper_hand[k], 0);
    }
    EXPECT_EQ(w->g.lower_hand_total, 0);
    EXPECT_EQ(w->g.upper_hand_total, 0);
  }

  void load(const QString& name) {
    dialogs.shown.clear();
    sound.played.clear();
    w->canvas.clear_log();
    w->record_panel()->File1_Click(name);
  }
};

TEST_F(RecordFiles, ASavedGameHasTheExactBytesOfTheFormat) {
  play_short_game();
  save_as(QStringLiteral("short"));
  ASSERT_EQ(dialogs.shown.size(), 1u) << last_message().text.toStdString();
  EXPECT_EQ(last_message().text, QStringLiteral("棋譜を書き込みました"));
  EXPECT_EQ(last_message().title, QStringLiteral("  "));
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(bytes_of(dir_.filePath(QStringLiteral("short.棋譜"))),
            bytes_of(test_data_dir + QStringLiteral("/short_game.棋譜")));
  // Saved: the panel is closed and emptied, and the file is listed.
  EXPECT_TRUE(all_hidden(file_lists()));
  EXPECT_TRUE(all_hidden(name_panel()));
  EXPECT_TRUE(names_empty());
  trigger("KIFU_READ");
  ASSERT_EQ(w->record_panel()->File1->count(), 1);
  EXPECT_EQ(w->record_panel()->File1->item(0)->text(), QStringLiteral("short.棋譜"));
}

TEST_F(RecordFiles, TheUpperPlayerIsNamedOnTheSecondLine) {
  // Against the computer with the computer moving first, the first
  // player ("先手") is the upper side.
  w->g.lower_side = w->g.second_side;
  w->g.upper_side = w->g.first_side;
  w->g.turn = w->g.upper_side;
  w->g.turn_elapsed = 0;
  move(6, 2, 6, 3);
  dialogs.shown.clear();
  save_as(QStringLiteral("upper"), QStringLiteral("名"), QStringLiteral("先"),
          QStringLiteral("後"));
  ASSERT_EQ(last_message().text, QStringLiteral("棋譜を書き込みました"));
  const QByteArray bytes = bytes_of(dir_.filePath(QStringLiteral("upper.棋譜")));
  EXPECT_TRUE(bytes.startsWith(QByteArray("\x96\xBC\r\n\x90\xE6\r\n\x8C\xE3\r\n")));
}

TEST_F(RecordFiles, AfterSteppingBackOnlyTheMovesUpToThePositionAreSaved) {
  play_short_game();
  trigger("REPLAY");
  trigger("REPLAY");
  dialogs.shown.clear();
  save_as(QStringLiteral("six"));
  ASSERT_EQ(last_message().text, QStringLiteral("棋譜を書き込みました"));
  const QList<QByteArray> lines =
      bytes_of(dir_.filePath(QStringLiteral("six.棋譜"))).split('\n');
  EXPECT_EQ(lines.size(), 3 + 6 + 1);  // the last line end leaves an empty tail
  EXPECT_EQ(w->g.record_len, 8);       // saving does not cut the record
}

TEST_F(RecordFiles, SavingWithoutANameOrWithoutMovesIsRefused) {
  trigger("KIFU_WRITE");
  w->record_panel()->Text2->setText(QStringLiteral("名前"));
  QTest::mouseClick(w->record_panel()->Command1, Qt::LeftButton);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("ﾌｧｲﾙ名が入力されていません"));
  EXPECT_EQ(last_message().title, QStringLiteral("  "));
  EXPECT_TRUE(all_visible(name_panel()));
  EXPECT_EQ(w->record_panel()->Text2->text(), QStringLiteral("名前"));

  w->record_panel()->Text1->setText(QStringLiteral("empty"));
  QTest::mouseClick(w->record_panel()->Command1, Qt::LeftButton);
  EXPECT_EQ(last_message().text, QStringLiteral("保存するデータがありません"));
  EXPECT_EQ(last_message().title, QStringLiteral("棋譜保存"));
  EXPECT_TRUE(all_visible(name_panel()));
  EXPECT_TRUE(sound.played.empty());
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("empty.棋譜"))));

  // After stepping back to the start there is nothing to save either.
  emit w->menu("STOP")->aboutToShow();
  play_short_game(2);
  trigger("REPLAY");
  trigger("REPLAY");
  save_as(QStringLiteral("empty"));
  EXPECT_EQ(last_message().text, QStringLiteral("保存するデータがありません"));
}

TEST_F(RecordFiles, ABadNameIsRefusedAndThePanelStaysOpen) {
  play_short_game(2);
  save_as(QStringLiteral("../escape"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().title, QStringLiteral("ERR"));
  EXPECT_EQ(last_message().text, QStringLiteral("ファイル名に使えない文字「/」が含まれています"));
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  EXPECT_TRUE(all_visible(name_panel()));
  EXPECT_EQ(w->record_panel()->Text1->text(), QStringLiteral("../escape"));
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("../escape.棋譜"))));
}

TEST_F(RecordFiles, AFolderThatIsGoneIsReportedWithTheSystemsWords) {
  play_short_game(2);
  QDir(dir_.path()).mkdir(QStringLiteral("gone"));
  w->record_panel()->Dir1_Change(dir_.filePath(QStringLiteral("gone")));
  QDir(dir_.filePath(QStringLiteral("gone"))).removeRecursively();
  save_as(QStringLiteral("x"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().title, QStringLiteral("ERR"));
  EXPECT_EQ(last_message().text, QString::fromLocal8Bit(std::strerror(ENOENT)));
  EXPECT_TRUE(all_visible(name_panel()));
}

TEST_F(RecordFiles, AnExistingFileIsReplaced) {
  QFile old(dir_.filePath(QStringLiteral("short.棋譜")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("an older game that is much longer than the new one will be ......\r\n");
  old.close();
  play_short_game();
  save_as(QStringLiteral("short"));
  EXPECT_EQ(bytes_of(dir_.filePath(QStringLiteral("short.棋譜"))),
            bytes_of(test_data_dir + QStringLiteral("/short_game.棋譜")));
  EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("*.棋譜*"), QStringLiteral(".*")},
                                        QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(RecordFiles, AWrittenGameReadsBackWithTheSameElevenValues) {
  play_short_game();
  const auto played = w->g.move_records;
  save_as(QStringLiteral("round"));
  trigger("KIFU_READ");
  load(QStringLiteral("round.棋譜"));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral(" 読み込みました"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("棋譜"));
  EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("棋譜を '進 'で進めて下さい"));
  EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("棋譜"));
  EXPECT_TRUE(all_hidden(file_lists()));
  EXPECT_EQ(w->g.kifu_mode, flag_on);
  EXPECT_EQ(w->g.record_len, 8);
  EXPECT_EQ(w->g.record_pos, 0);
  EXPECT_EQ(w->g.move_number, 0);
  expect_initial_position();
  for (int i = 1; i <= 8; ++i) {
    expect_same_entry(played[i], w->g.move_records[i], i);
  }
  // The lower side moved first: a game of two players, the lower side's
  // token moves first.
  EXPECT_EQ(w->g.play_mode, mode_two_players);
  EXPECT_EQ(w->g.first_side, w->g.lower_side);
  EXPECT_EQ(w->g.second_side, w->g.upper_side);
  EXPECT_EQ(w->g.turn, w->g.first_side);
}

TEST_F(RecordFiles, TheHeaderLinesArePrintedCentred) {
  copy_in(test_data_dir + QStringLiteral("/short_game.棋譜"), QStringLiteral("s.棋譜"));
  load(QStringLiteral("s.棋譜"));
  auto find = [&](const QString& text) -> const PaintedText* {
    for (const PaintedText& t : w->canvas.text_log())
      if (t.text == text) return &t;
    return nullptr;
  };
  struct Expect { QString text; double y_twips; int colour; };
  for (const Expect& e : {Expect{QStringLiteral("ﾃｽﾄ対局"), 5000, colour_pick},
                          Expect{QStringLiteral("後手花子"), 100, colour_text},
                          Expect{QStringLiteral("先手太郎"), 4600, colour_text}}) {
    const PaintedText* t = find(e.text);
    ASSERT_NE(t, nullptr) << e.text.toStdString();
    const double x_twips = 1050 + 570 * (1 + (13.0 - e.text.size()) / 5);
    EXPECT_NEAR(board_left + t->x * cell_width, x_twips, 1e-6);
    EXPECT_NEAR(board_top + t->y * cell_height, e.y_twips, 1e-6);
    EXPECT_EQ(t->colour, e.colour);
    EXPECT_EQ(t->size, 12);
  }
}

TEST_F(RecordFiles, AClickInTheFileListLoadsTheFile) {
  copy_in(test_data_dir + QStringLiteral("/short_game.棋譜"), QStringLiteral("s.棋譜"));
  trigger("KIFU_READ");
  ASSERT_EQ(w->record_panel()->File1->count(), 1);
  dialogs.shown.clear();
  const QRect r = w->record_panel()->File1->visualItemRect(w->record_panel()->File1->item(0));
  QTest::mouseClick(w->record_panel()->File1->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  EXPECT_EQ(w->g.kifu_mode, flag_on);
  EXPECT_EQ(w->g.record_len, 8);
  EXPECT_TRUE(all_hidden(file_lists()));
}

TEST_F(RecordFiles, ARecordWhoseFirstMoveIsTheUpperSidesIsAGameAgainstTheComputer) {
  QFile f(dir_.filePath(QStringLiteral("com.棋譜")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("a\r\nb\r\nc\r\n"
          " 6263  20  20   0    0    0    0    4\r\n"
          " 1514 -20 -20   0    0    5    4    4\r\n");
  f.close();
  // With the tokens of start-up (lower -1, upper +1) the upper side keeps
  // +1 as the side moving first.
  start();
  ASSERT_EQ(w->g.upper_side, 1);
  load(QStringLiteral("com.棋譜"));
  EXPECT_EQ(w->g.play_mode, mode_vs_computer);
  EXPECT_EQ(w->g.first_side, 1);
  EXPECT_EQ(w->g.second_side, -1);
  EXPECT_EQ(w->g.turn, 1);
  // After a two-player start the upper side holds -1, and that token now
  // moves first.
  trigger("START");
  ASSERT_EQ(w->g.upper_side, -1);
  load(QStringLiteral("com.棋譜"));
  EXPECT_EQ(w->g.first_side, w->g.upper_side);
  EXPECT_EQ(w->g.second_side, w->g.lower_side);
  EXPECT_EQ(w->g.turn, w->g.upper_side);
}

TEST_F(RecordFiles, ARecordWhoseFirstMoveIsTheLowerSidesIsAGameOfTwoPlayers) {
  copy_in(test_data_dir + QStringLiteral("/short_game.棋譜"), QStringLiteral("s.棋譜"));
  start();
  load(QStringLiteral("s.棋譜"));
  EXPECT_EQ(w->g.play_mode, mode_two_players);
  EXPECT_EQ(w->g.first_side, -1);
  EXPECT_EQ(w->g.second_side, 1);
  EXPECT_EQ(w->g.turn, -1);
  EXPECT_EQ(w->g.turn, w->g.lower_side);
}

TEST_F(RecordFiles, AUtf8FileWithLfLoads) {
  copy_in(test_data_dir + QStringLiteral("/utf8_lf.棋譜"), QStringLiteral("u.棋譜"));
  load(QStringLiteral("u.棋譜"));
  EXPECT_EQ(w->g.record_len, 8);
  EXPECT_EQ(w->g.kifu_mode, flag_on);
}

// Each damaged file gets its message and leaves the game in progress on
// the board as it was: position, record, turn and the painted squares.
TEST_F(RecordFiles, DamagedFilesAreRefusedAndLeaveTheGameAsItWas) {
  const QDir damaged(test_data_dir + QStringLiteral("/damaged"));
  const QStringList names = damaged.entryList({QStringLiteral("*.棋譜")}, QDir::Files);
  ASSERT_GE(names.size(), 18);
  for (const QString& name : names) {
    if (name == QStringLiteral("only_headers.棋譜")) continue;
    // A game in progress with a record of three moves.
    new_game(w->game);
    trigger("START");
    play_short_game(3);
    const QImage before = w->canvas.image();
    copy_in(damaged.filePath(name), name);
    load(name);
    const std::string n = name.toStdString();
    ASSERT_EQ(dialogs.shown.size(), 1u) << n;
    EXPECT_EQ(last_message().title, QStringLiteral("ERR")) << n;
    EXPECT_FALSE(last_message().text.isEmpty()) << n;
    EXPECT_EQ(played_names(), QStringList{"forbidden"}) << n;
    EXPECT_TRUE(Snapshot::of(w->g) == snapshots[3]) << n;
    EXPECT_EQ(w->g.kifu_mode, flag_off) << n;
    EXPECT_EQ(w->g.record_pos, 3) << n;
    EXPECT_EQ(w->g.record_len, 3) << n;
    EXPECT_EQ(w->g.move_records[3].to_col, 2) << n;  // nothing of the file
    EXPECT_TRUE(w->canvas.image() == before) << n;   // nothing repainted
    EXPECT_TRUE(all_hidden(file_lists())) << n;
  }
  // And the game goes on from there.
  move(6, 3, 6, 4);
  EXPECT_EQ(w->g.record_len, 4);
  EXPECT_EQ(w->g.board[6][4], 20);
}

// A refused file while a loaded record is being stepped keeps that record.
TEST_F(RecordFiles, ARefusedFileKeepsALoadedRecord) {
  copy_in(test_data_dir + QStringLiteral("/short_game.棋譜"), QStringLiteral("s.棋譜"));
  load(QStringLiteral("s.棋譜"));
  trigger("AFTER");
  trigger("AFTER");
  const Snapshot stepped = Snapshot::of(w->g);
  const int len = w->g.record_len;
  copy_in(test_data_dir + QStringLiteral("/damaged/short_line.棋譜"), QStringLiteral("d.棋譜"));
  load(QStringLiteral("d.棋譜"));
  EXPECT_EQ(last_message().title, QStringLiteral("ERR"));
  EXPECT_TRUE(Snapshot::of(w->g) == stepped);
  EXPECT_EQ(w->g.kifu_mode, flag_on);
  EXPECT_EQ(w->g.record_len, len);
  trigger("AFTER");
  EXPECT_EQ(w->g.record_pos, 3);
}

TEST_F(RecordFiles, TheMessagesOfSomeDamagedFiles) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"short_line", "4行目: 指し手の行は37桁のはずが30桁です"},
      {"moves_501", "504行目: 指し手が500手を超えています"},
      {"move_from_empty", "4行目: 移動元(3,3)の駒は 0 で、移動前の駒 -20 と違います"},
      {"empty", "ファイルが空です"},
  };
  for (const auto& [name, text] : cases) {
    copy_in(test_data_dir + "/damaged/" + name + QStringLiteral(".棋譜"), name + ".棋譜");
    load(name + QStringLiteral(".棋譜"));
    EXPECT_EQ(last_message().text, text);
    EXPECT_EQ(last_message().title, QStringLiteral("ERR"));
  }
}

TEST_F(RecordFiles, AFileOfOnlyHeadersHasNoData) {
  copy_in(test_data_dir + QStringLiteral("/damaged/only_headers.棋譜"),
          QStringLiteral("h.棋譜"));
  play_short_game(3);
  load(QStringLiteral("h.棋譜"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"));
  EXPECT_EQ(last_message().title, QStringLiteral("棋譜"));
  EXPECT_TRUE(sound.played.empty());
  expect_initial_position();
  EXPECT_EQ(w->g.record_len, 0);
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(w->g.kifu_mode, flag_off);
  trigger("AFTER");
  EXPECT_EQ(last_message().text, QStringLiteral("「対局」で始めて下さい"));
  EXPECT_EQ(last_message().title, QStringLiteral("開始"));
}

TEST_F(RecordFiles, AFileThatVanishedIsReportedWithTheSystemsWords) {
  load(QStringLiteral("gone.棋譜"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().title, QStringLiteral("ERR"));
  EXPECT_EQ(last_message().text, QStringLiteral("No such file or directory"));
  expect_initial_position();
}

// Positions as SFEN text, to and from other shogi programs.
TEST_F(RecordFiles, TheInitialPositionIsCopiedAsSfen) {
  trigger("SFEN_COPY");
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("rbnsgk/5p/6/6/P5/KGSNBR b - 1"));
  EXPECT_EQ(last_message().title, QStringLiteral("SFEN"));
  play_short_game(6);
  trigger("SFEN_COPY");
  // Row 1: rook, the lower promoted... see the board: the gold took on (4,1).
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("rbng1k/6/6/P4p/6/KGSN1R b Sb 7"));
}

TEST_F(RecordFiles, APastedPositionIsPlayedOnButNotSaved) {
  QGuiApplication::clipboard()->setText(
      QStringLiteral("position sfen 4k1/6/6/6/6/K5 w 2Pg 12"));
  sound.played.clear();
  trigger("SFEN_PASTE");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(played_names(), QStringList{"piece"});
  EXPECT_EQ(w->g.board[5][1], 950);
  EXPECT_EQ(w->g.board[1][6], -950);
  EXPECT_EQ(w->g.lower_hand[1], 2);
  EXPECT_EQ(w->g.upper_hand[4], 1);
  EXPECT_EQ(w->g.lower_hand_total, 2);
  EXPECT_EQ(w->g.turn, w->g.upper_side);
  EXPECT_EQ(w->g.move_number, 11);
  EXPECT_EQ(w->g.record_pos, 0);
  EXPECT_EQ(w->g.record_len, 0);
  trigger("KIFU_WRITE");
  EXPECT_EQ(last_message().text, QStringLiteral("貼り付けた局面からは書き込みできません"));
  EXPECT_EQ(last_message().title, QStringLiteral("棋譜書込"));
  EXPECT_TRUE(all_hidden(name_panel()));
}

TEST_F(RecordFiles, TextThatIsNoPositionIsRefusedWithAClearMessage) {
  const GameState before = w->g;
  for (const char* text : {"hello", "rbnsgk/5p/6/6/P5/KGSNBR x - 1",
                           "rbnsg1/5p/6/6/P5/KGSNBR b - 1",  // no upper king
                           "position startpos moves 1e1d", ""}) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
    dialogs.shown.clear();
    sound.played.clear();
    trigger("SFEN_PASTE");
    ASSERT_EQ(dialogs.shown.size(), 1u) << text;
    EXPECT_EQ(last_message().title, QStringLiteral("SFEN"));
    EXPECT_TRUE(last_message().text.startsWith(
        QStringLiteral("クリップボードの文字列は正しい局面(SFEN)ではありません")));
    EXPECT_EQ(played_names(), QStringList{"forbidden"});
    EXPECT_EQ(w->g.board, before.board);
    EXPECT_EQ(w->g.flipped, flag_off);
  }
  QGuiApplication::clipboard()->setText(QStringLiteral("position startpos"));
  trigger("SFEN_PASTE");
  EXPECT_EQ(w->g.board, before.board);
}

}  // namespace
}  // namespace nirvex::testing
