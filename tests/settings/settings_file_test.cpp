// Reading and writing the settings file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "settings/settings_file.h"

namespace nirvex {
namespace {

QByteArray sjis(const char* utf8) {
  QStringEncoder e("CP932");
  return e.encode(QString::fromUtf8(utf8));
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

}  // namespace
}  // namespace nirvex
