// Record files as bytes: Shift_JIS with CR LF on writing, UTF-8 or
// Shift_JIS with either line end on reading, the damaged files, and saving
// that never spoils the file already there.
#include "record/record_text.h"
#include "tests/record/same_entry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <map>

namespace nirvex::record {
namespace {

const QString data_dir = QStringLiteral(NIRVEX_TEST_DATA_DIR);

QByteArray file_bytes(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  return f.readAll();
}

using nirvex::testing::mv;

// The short game as the window records it (times 5, 3, 12, 7, 1234.7, 2,
// 9, 4 seconds; every mouse move counts on the lower clock fields).
std::vector<MoveRecord> short_game() {
  return {mv(1, 5, 1, 4, -20, -20, 0, 0, 5, 0, 0),
          mv(6, 2, 6, 3, 20, 20, 0, 5, 8, 0, 0),
          mv(5, 6, 2, 3, -800, -800, 0, 5, 17, 3, 3),
          mv(6, 3, 6, 4, 20, 20, 0, 17, 24, 3, 3),
          mv(2, 3, 4, 1, -801, -800, 100, 17, 1251.7, 10, 10),
          mv(5, 1, 4, 1, 110, 110, -801, 1251.7, 1253.7, 10, 10),
          mv(8, 3, 3, 3, -100, -100, 0, 1251.7, 1260.7, 12, 12),
          mv(-1, 2, 2, 4, 800, 800, 0, 1260.7, 1264.7, 12, 12)};
}

const RecordHeader short_header{"ﾃｽﾄ対局", "後手花子", "先手太郎"};

TEST(RecordBytes, AShortGameIsWrittenInShiftJisWithCrLf) {
  const auto moves = short_game();
  QByteArray bytes;
  QString error;
  ASSERT_TRUE(encode_record_file(short_header, moves.data(), 8, bytes, error))
      << error.toStdString();
  EXPECT_EQ(bytes, file_bytes(data_dir + QStringLiteral("/short_game.棋譜")));
  // "対局" in CP932, and half-width katakana as single bytes.
  EXPECT_TRUE(bytes.startsWith(QByteArray("\xC3\xBD\xC4\x91\xCE\x8B\xC7\r\n")));
}

TEST(RecordBytes, ReadsBackTheElevenValuesOfEveryMove) {
  LoadedRecord r;
  RecordFault f;
  ASSERT_TRUE(read_record_bytes(file_bytes(data_dir + QStringLiteral("/short_game.棋譜")),
                                r, f))
      << describe(f);
  EXPECT_EQ(r.header.game_name, short_header.game_name);
  EXPECT_EQ(r.header.upper_name, short_header.upper_name);
  EXPECT_EQ(r.header.lower_name, short_header.lower_name);
  const auto moves = short_game();
  ASSERT_EQ(r.moves.size(), moves.size());
  for (std::size_t i = 0; i < moves.size(); ++i) {
    nirvex::testing::expect_same_entry(moves[i], r.moves[i], static_cast<int>(i));
  }
}

TEST(RecordBytes, Utf8AndLfAreReadToo) {
  LoadedRecord a, b;
  RecordFault f;
  ASSERT_TRUE(read_record_bytes(file_bytes(data_dir + QStringLiteral("/short_game.棋譜")),
                                a, f));
  ASSERT_TRUE(read_record_bytes(file_bytes(data_dir + QStringLiteral("/utf8_lf.棋譜")), b, f))
      << describe(f);
  EXPECT_EQ(b.header.game_name, a.header.game_name);
  ASSERT_EQ(b.moves.size(), a.moves.size());
  // With a UTF-8 byte order mark and no line end after the last line.
  QByteArray bom = "\xEF\xBB\xBF" + file_bytes(data_dir + QStringLiteral("/utf8_lf.棋譜"));
  bom.chop(1);
  ASSERT_TRUE(read_record_bytes(bom, b, f)) << describe(f);
  EXPECT_EQ(b.header.game_name, a.header.game_name);
  EXPECT_EQ(b.moves.size(), 8u);
}

TEST(RecordBytes, TheLimitOfFiveHundredMoves) {
  LoadedRecord r;
  RecordFault f;
  ASSERT_TRUE(read_record_bytes(file_bytes(data_dir + QStringLiteral("/moves_500.棋譜")), r, f))
      << describe(f);
  EXPECT_EQ(r.moves.size(), 500u);
}

TEST(RecordBytes, HeaderTextShiftJisCannotHoldIsRefused) {
  const auto moves = short_game();
  QByteArray bytes = "untouched";
  QString error;
  EXPECT_FALSE(encode_record_file({"対局", "😀", ""}, moves.data(), 1, bytes, error));
  EXPECT_EQ(error, QStringLiteral("上側の対局者名にShift_JISで書けない文字があります"));
  EXPECT_EQ(bytes, QByteArray("untouched"));
}

// Every damaged file is refused with the fault and its line.
TEST(DamagedFiles, EachIsRefusedWithItsFault) {
  const std::map<QString, QString> expected = {
      {"short_line", "4行目: 指し手の行は37桁のはずが30桁です"},
      {"letters_in_number", "4行目: 6〜9桁目の移動後の駒が数値ではありません「 -2x」"},
      {"coordinate_zero", "4行目: 移動先の列 0 は範囲外です（1〜6）"},
      {"coordinate_nine", "4行目: 移動元の列 9 は範囲外です（1〜6、持ち駒は8か-1）"},
      {"code_no_piece", "4行目: 移動後の駒 -25 は駒の番号ではありません"},
      {"move_from_empty", "4行目: 移動元(3,3)の駒は 0 で、移動前の駒 -20 と違います"},
      {"same_side_twice", "5行目: 手番が交互になっていません（下側が続けて指しています）"},
      {"wrong_capture", "4行目: 移動先(1,4)の駒は 0 で、取った駒 20 と違います"},
      {"illegal_step", "4行目: 駒 -20 は(1,5)から(1,3)へ動けません"},
      {"bad_promotion", "4行目: 駒 -20 は -21 に成れません"},
      {"drop_not_in_hand", "4行目: 持ち駒にない駒 -20 を打っています"},
      {"negative_clock", "4行目: 下側の経過時間(後) -5 は範囲外です（0〜99999）"},
      {"moves_501", "504行目: 指し手が500手を超えています"},
      {"missing_header", "2行目: 見出しの行（上側の対局者名）がありません"},
      {"empty", "ファイルが空です"},
      {"binary_junk", "2行目: 制御文字が含まれています（文字の棋譜ﾌｧｲﾙではありません）"},
      {"bad_encoding", "1行目: 文字コードが読めません（UTF-8でもShift_JISでもありません）"},
  };
  const QStringList files = QDir(data_dir + QStringLiteral("/damaged"))
                                .entryList({QStringLiteral("*.棋譜")}, QDir::Files);
  EXPECT_EQ(files.size(), static_cast<qsizetype>(expected.size()) + 1);  // + only_headers
  for (const auto& [name, text] : expected) {
    LoadedRecord r;
    QString error;
    EXPECT_FALSE(load_record_file(data_dir + "/damaged/" + name + QStringLiteral(".棋譜"), r,
                                  error))
        << name.toStdString();
    EXPECT_EQ(error, text) << name.toStdString();
  }
  LoadedRecord r;
  QString error;
  EXPECT_TRUE(load_record_file(data_dir + QStringLiteral("/damaged/only_headers.棋譜"), r,
                               error));
  EXPECT_TRUE(r.moves.empty());
}

TEST(LoadFile, RefusesWhatIsNoPlainFile) {
  QTemporaryDir dir;
  LoadedRecord r;
  QString error;
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.棋譜")));
  EXPECT_FALSE(load_record_file(dir.filePath(QStringLiteral("folder.棋譜")), r, error));
  EXPECT_EQ(error, QStringLiteral("通常のファイルではありません"));
  // A pipe would block a plain read for ever.
  const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe.棋譜")));
  ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
  EXPECT_FALSE(load_record_file(QFile::decodeName(fifo), r, error));
  EXPECT_EQ(error, QStringLiteral("通常のファイルではありません"));
  EXPECT_FALSE(load_record_file(dir.filePath(QStringLiteral("none.棋譜")), r, error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(LoadFile, RefusesAFileFarTooLargeToBeARecord) {
  QTemporaryDir dir;
  QFile f(dir.filePath(QStringLiteral("big.棋譜")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(max_file_bytes + 10, 'a'));
  f.close();
  LoadedRecord r;
  QString error;
  EXPECT_FALSE(load_record_file(f.fileName(), r, error));
  EXPECT_EQ(error, QStringLiteral("ファイルが大きすぎます（棋譜ﾌｧｲﾙではありません）"));
}

TEST(SaveFile, CreatesAndReplaces) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.棋譜"));
  QString error;
  ASSERT_TRUE(save_record_file(path, "first", error));
  ASSERT_TRUE(save_record_file(path, "second", error));
  EXPECT_EQ(file_bytes(path), QByteArray("second"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(SaveFile, AReplacedFileKeepsItsPermissions) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.棋譜"));
  QString error;
  ASSERT_TRUE(save_record_file(path, "first", error));
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
  ASSERT_TRUE(save_record_file(path, "second", error));
  struct stat st{};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SaveFile, AFailedWriteLeavesTheOldFileAsItWas) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.棋譜"));
  QString error;
  ASSERT_TRUE(save_record_file(path, "the good old record", error));

  // A disk that fills up: no file may grow beyond 64 bytes for a moment.
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = save_record_file(path, QByteArray(4096, 'x'), error);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(saved);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(file_bytes(path), QByteArray("the good old record"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(SaveFile, AMissingFolderIsReported) {
  QTemporaryDir dir;
  QString error;
  EXPECT_FALSE(save_record_file(dir.filePath(QStringLiteral("no/such/a.棋譜")), "x", error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(FileName, NamesAFileInTheChosenFolderOnly) {
  QString error;
  EXPECT_TRUE(file_name_acceptable(QStringLiteral("対局 1"), error));
  EXPECT_FALSE(file_name_acceptable(QStringLiteral("../x"), error));
  EXPECT_EQ(error, QStringLiteral("ファイル名に使えない文字「/」が含まれています"));
  EXPECT_FALSE(file_name_acceptable(QStringLiteral(".."), error));
  EXPECT_FALSE(file_name_acceptable(QStringLiteral("a\\b"), error));
  EXPECT_FALSE(file_name_acceptable(QStringLiteral("a\nb"), error));
}

}  // namespace
}  // namespace nirvex::record

namespace nirvex::record {
namespace {

MoveRecord first_move() { return MoveRecord{1, 5, 1, 4, -20, -20, 0, 0, 5, 0, 0}; }

RecordHeader round_trip_header(const RecordHeader& h) {
  const MoveRecord m = first_move();
  QByteArray bytes;
  QString error;
  EXPECT_TRUE(encode_record_file(h, &m, 1, bytes, error)) << error.toStdString();
  LoadedRecord back;
  RecordFault f;
  EXPECT_TRUE(read_record_bytes(bytes, back, f)) << describe(f);
  return back.header;
}

// Half-width katakana in Shift_JIS can happen to be valid UTF-8 ("ﾃｽ" is
// C3 BD, "½" in UTF-8); such a file is still read as Shift_JIS.
TEST(Encoding, HalfWidthKatakanaNamesReadBackAsWritten) {
  for (const char* name : {"ﾃｽ", "ﾄｳ", "ﾃｽ0", "ｹﾞｰﾑ", "対局ﾃｽ"}) {
    const RecordHeader h{name, name, name};
    EXPECT_EQ(round_trip_header(h).game_name, std::string(name)) << name;
  }
}

TEST(Encoding, Utf8JapaneseIsReadAsUtf8) {
  const QByteArray bytes = QStringLiteral("対局ﾃｽﾄ\n上手\n下手\n").toUtf8() +
                           " 1514 -20 -20   0    0    5    0    0\n";
  LoadedRecord r;
  RecordFault f;
  ASSERT_TRUE(read_record_bytes(bytes, r, f)) << describe(f);
  EXPECT_EQ(r.header.game_name, "対局ﾃｽﾄ");
}

TEST(Encoding, NamesThatWouldReadBackDifferentlyAreNotWritten) {
  // In Shift_JIS "凜三" is EA A3 8E 4F, which is also valid UTF-8 ("꣎O").
  // Read as Shift_JIS it comes back right; the writer makes sure of it.
  EXPECT_EQ(round_trip_header({"凜三", "", ""}).game_name, "凜三");
  // "縺｡" is E3 81 A1 in Shift_JIS: "ち" in UTF-8.  It cannot be written so
  // that it reads back, and is refused.
  const MoveRecord m = first_move();
  QByteArray bytes;
  QString error;
  EXPECT_FALSE(encode_record_file({"縺｡", "", ""}, &m, 1, bytes, error));
  EXPECT_EQ(error, QStringLiteral("対局名・対局者名が正しく読み戻せない文字の並びです。名前を変えて下さい"));
  EXPECT_TRUE(bytes.isEmpty());
}

TEST(Encoding, AMoveListThatDoesNotReplayIsNotWritten) {
  const MoveRecord bad{3, 3, 3, 2, -20, -20, 0, 0, 0, 0, 0};
  QByteArray bytes;
  QString error;
  EXPECT_FALSE(encode_record_file({"a", "b", "c"}, &bad, 1, bytes, error));
  EXPECT_EQ(error, QStringLiteral("4行目: 移動元(3,3)の駒は 0 で、移動前の駒 -20 と違います"));
}

}  // namespace
}  // namespace nirvex::record
