// Reading and writing the settings file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "record/plain_file.h"
#include "settings/settings_file.h"

namespace nirvex {
namespace {

QByteArray sjis(const char* utf8) {
  QStringEncoder e("CP932");
  return e.encode(QString::fromUtf8(utf8));
}

QByteArray file_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void put_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// What the probe writes: the space background, guidance on, the rest off.
QByteArray probe_file_bytes() {
  SettingsValues v;
  v.background = 5;
  v.guidance = true;
  return encode_settings(settings_lines(v));
}

TEST(SettingsFile, DefaultsAreWrittenAsFourShiftJisLines) {
  const QByteArray bytes = encode_settings(settings_lines(default_settings()));
  EXPECT_EQ(bytes, sjis("背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n"));
  EXPECT_EQ(bytes.left(6), QByteArray("\x94\x77\x8c\x69\x89\xe6"));
}

TEST(SettingsFile, LinesFollowTheChecksInTheirOrder) {
  SettingsValues v;
  v.background = 5;
  v.guidance = true;
  EXPECT_EQ(settings_lines(v), (QStringList{"背景画=宇宙", "移動指導=ON", "経過時間=OFF", "BGM=OFF"}));
  v.background.reset();
  EXPECT_EQ(settings_lines(v), (QStringList{"移動指導=ON", "経過時間=OFF", "BGM=OFF"}));
  for (auto [id, name] : {std::pair{2, "緑"}, {3, "畳"}, {4, "竹"}, {6, "煉瓦"}}) {
    v.background = id;
    EXPECT_EQ(settings_lines(v).front(), QStringLiteral("背景画=") + QString::fromUtf8(name));
  }
}

TEST(SettingsFile, TheAdditionsFollowTheFourOnlyWhileTheyDifferFromTheirDefaults) {
  SettingsValues v = default_settings();
  v.view.move_list = false;
  v.view.ask_promotion = true;
  v.engine.program = "/usr/games/fairy-stockfish";
  const QStringList lines = settings_lines(v);
  ASSERT_EQ(lines.size(), 9);
  EXPECT_EQ(lines.mid(4, 2), (QStringList{"棋譜表示=OFF", "成/不成を確認=ON"}));
  EXPECT_TRUE(lines[6].startsWith("外部エンジン="));
  v.view.last_move_tint = false;
  EXPECT_EQ(settings_lines(v)[5], "最終手強調=OFF");

  const SettingsRead r = parse_settings(encode_settings(lines));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.move_list, false);
  EXPECT_EQ(r.ask_promotion, true);
  EXPECT_FALSE(r.last_move_tint.has_value());
  // An older file says nothing of them; "on" in lower case is off.
  const SettingsRead old = parse_settings(sjis("背景画=緑\r\nBGM=ON\r\n最終手強調=on\r\n"));
  EXPECT_FALSE(old.move_list.has_value());
  EXPECT_EQ(old.last_move_tint, false);
}

TEST(SettingsFile, PartialFileNamesOnlyItsKeys) {
  const SettingsRead r = parse_settings(sjis("背景画=宇宙\r\nBGM=OFF\r\n"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.background, 5);
  EXPECT_EQ(r.music, false);
  EXPECT_FALSE(r.guidance.has_value());
  EXPECT_FALSE(r.elapsed_time.has_value());
}

TEST(SettingsFile, ValuesAreComparedExactly) {
  const SettingsRead r = parse_settings(sjis("移動指導=on\r\n経過時間=ＯＮ\r\nBGM=ON \r\n背景画=みどり\r\n"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.guidance, false);
  EXPECT_EQ(r.elapsed_time, false);
  EXPECT_EQ(r.music, false);
  EXPECT_FALSE(r.background.has_value());  // an unknown background is ignored
}

TEST(SettingsFile, LaterLinesWinAndOtherKeysAreIgnored) {
  const SettingsRead r =
      parse_settings(sjis("背景画=竹\r\n色=赤\r\n背景画=煉瓦\r\nBGM=ON\r\nBGM=OFF\r\n"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.background, 6);
  EXPECT_EQ(r.music, false);
}

TEST(SettingsFile, SplitsAtTheFirstEquals) {
  const SettingsRead r = parse_settings(QByteArray("BGM==ON\r\n"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.music, false);
}

TEST(SettingsFile, ALineWithoutEqualsBreaksTheFile) {
  EXPECT_FALSE(parse_settings(sjis("背景画=宇宙\r\nBGM\r\n")).ok);
  EXPECT_FALSE(parse_settings(sjis("背景画=宇宙\r\n\r\nBGM=ON\r\n")).ok);  // empty line
  EXPECT_TRUE(parse_settings(QByteArray()).ok);  // an empty file says nothing
}

TEST(SettingsFile, ReadsUtf8AndLfToo) {
  const SettingsRead r = parse_settings(QByteArray("背景画=畳\n移動指導=ON\n"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.background, 3);
  EXPECT_EQ(r.guidance, true);
  // A byte order mark is not part of the first key.
  EXPECT_EQ(parse_settings(QByteArray("\xEF\xBB\xBF背景画=畳\r\n")).background, 3);
}

TEST(SettingsFile, WritingReplacesTheWholeFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Nirvex将棋.ini");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4000, 'x'));
  }
  ASSERT_TRUE(write_settings_file(path, settings_lines(default_settings())));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), encode_settings(settings_lines(default_settings())));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Nirvex将棋.ini"});
}

TEST(SettingsFile, UnwritableFolderIsReportedNotCrashed) {
  EXPECT_FALSE(write_settings_file("/nonexistent-folder/Nirvex将棋.ini", {"BGM=ON"}));
  EXPECT_FALSE(read_settings_file("/nonexistent-folder/Nirvex将棋.ini").ok);
}

// Settings lines up to exactly `size` bytes: an unknown key padded out.
QByteArray lines_of_size(qsizetype size) {
  QByteArray bytes = sjis("背景画=宇宙\r\n");
  bytes += "x=" + QByteArray(size - bytes.size() - 4, 'y') + "\r\n";
  return bytes;
}

TEST(SettingsFile, AFileLargerThanTheLimitIsNoSettingsFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Nirvex将棋.ini");
  put_file(path, lines_of_size(settings_file_limit));
  const SettingsRead at_limit = read_settings_file(path);
  EXPECT_TRUE(at_limit.ok);
  EXPECT_EQ(at_limit.background, 5);
  put_file(path, lines_of_size(settings_file_limit + 1));
  EXPECT_FALSE(read_settings_file(path).ok);
  put_file(path, sjis("BGM=OFF\r\n").repeated(100000));  // good lines, far too many
  EXPECT_FALSE(read_settings_file(path).ok);
}

TEST(SettingsFile, PipesAndDevicesAreNeitherReadNorWaitedOn) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Nirvex将棋.ini");
  const QByteArray name = QFile::encodeName(path);
  // A pipe nobody writes: reading it would wait for ever.
  ASSERT_EQ(::mkfifo(name.constData(), 0644), 0);
  EXPECT_FALSE(read_settings_file(path).ok);
  // Written anew: a plain file takes the pipe's place.
  ASSERT_TRUE(write_settings_file(path, settings_lines(default_settings())));
  EXPECT_TRUE(QFileInfo(path).isFile());
  EXPECT_EQ(file_bytes(path), encode_settings(settings_lines(default_settings())));

  // A link to a pipe: the link is replaced, the pipe stays a pipe.
  const QByteArray pipe = QFile::encodeName(dir.filePath("pipe"));
  ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);
  QFile::remove(path);
  ASSERT_EQ(::symlink(pipe.constData(), name.constData()), 0);
  EXPECT_FALSE(read_settings_file(path).ok);
  ASSERT_TRUE(write_settings_file(path, settings_lines(default_settings())));
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  struct stat st{};
  ASSERT_EQ(::stat(pipe.constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));

  // Devices without end: never read whole.
  EXPECT_FALSE(read_settings_file("/dev/zero").ok);
  EXPECT_FALSE(read_settings_file("/dev/null").ok);
  QFile::remove(path);
  ASSERT_EQ(::symlink("/dev/zero", name.constData()), 0);
  EXPECT_FALSE(read_settings_file(path).ok);
  QFile::remove(path);
  // A device node of its own in the folder (where the system lets us make
  // one) is replaced by the file like the pipe.
  if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 5)) == 0) {
    EXPECT_FALSE(read_settings_file(path).ok);
    ASSERT_TRUE(write_settings_file(path, settings_lines(default_settings())));
    EXPECT_TRUE(QFileInfo(path).isFile());
  }
}

// Runs the probe as the user "nobody"; -1 when this process may not.
int run_probe_as_nobody(const QString& mode, const QString& path, QString& output) {
  const passwd* pw = ::getpwnam("nobody");
  if (!pw) return -1;
  const uid_t uid = pw->pw_uid;
  const gid_t gid = pw->pw_gid;
  QProcess p;
  p.setChildProcessModifier([uid, gid] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(77);
  });
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral(NIRVEX_SETTINGS_PROBE), {mode, path});
  if (!p.waitForFinished(30000)) return -1;
  output = QString::fromLocal8Bit(p.readAll());
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() != 77 ? p.exitCode() : -1;
}

// A folder the game may not write, holding a settings file it may: no file
// can be made beside it, so it is written in place and the change is kept.
TEST(SettingsFile, AFolderTheGameMayNotWriteStillTakesTheChange) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Nirvex将棋.ini");
  put_file(path, encode_settings(settings_lines(default_settings())));
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
  const QByteArray folder = QFile::encodeName(dir.path());

  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    EXPECT_FALSE(QFile(dir.filePath("other")).open(QIODevice::WriteOnly));  // as said
    SettingsValues v;
    v.background = 5;
    v.guidance = true;
    EXPECT_TRUE(write_settings_file(path, settings_lines(v)));
    ASSERT_EQ(::chmod(folder.constData(), 0755), 0);
  } else {
    // Permission bits do not stop the superuser: the writing is done by
    // the probe as another user, for whom the folder is read-only.
    ASSERT_EQ(::chmod(folder.constData(), 0755), 0);
    QString output;
    const int made = run_probe_as_nobody("create", dir.filePath("other"), output);
    if (made < 0) GTEST_SKIP() << "cannot run a program as the user nobody here";
    ASSERT_EQ(made, 1) << "the folder is writable for nobody: " << output.toStdString();
    EXPECT_EQ(run_probe_as_nobody("write", path, output), 0) << output.toStdString();
  }
  EXPECT_EQ(file_bytes(path), probe_file_bytes());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"Nirvex将棋.ini"});
}

// In place, the old file's longer text is cut off after the new lines.
TEST(SettingsFile, WritingInPlaceCutsOffWhatWasLonger) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Nirvex将棋.ini");
  put_file(path, QByteArray(4000, 'x'));
  QString error;
  ASSERT_TRUE(write_file_in_place(path, "BGM=ON\r\n", error)) << error.toStdString();
  EXPECT_EQ(file_bytes(path), QByteArray("BGM=ON\r\n"));
  // Only over a plain file that is there.
  EXPECT_FALSE(write_file_in_place(dir.filePath("none.ini"), "BGM=ON\r\n", error));
  EXPECT_FALSE(QFile::exists(dir.filePath("none.ini")));
  EXPECT_FALSE(write_file_in_place(dir.path(), "BGM=ON\r\n", error));
}

}  // namespace
}  // namespace nirvex
