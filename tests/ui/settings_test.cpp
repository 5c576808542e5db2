// The preferences file as the window reads and writes it.
#include <QFileInfo>
#include <sys/stat.h>

#include "tests/ui/window_fixture.h"

namespace nirvex::testing {
namespace {

QByteArray sjis(const char* utf8) {
  QStringEncoder e("CP932");
  return e.encode(QString::fromUtf8(utf8));
}

QByteArray file_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray default_file_text = sjis("背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n");

class SettingsTest : public WindowTest {
 protected:
  void with_settings(const char* utf8_text) { settings_ = sjis(utf8_text); }
};

TEST_F(SettingsTest, FirstStartWritesAndAppliesTheDefaults) {
  settings_ = QByteArray();
  start();
  EXPECT_EQ(file_bytes(ini_path()), default_file_text);
  EXPECT_TRUE(w->menu_item("MIDORI")->isChecked());
  EXPECT_FALSE(w->menu_item("SIDOU")->isChecked());
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
  EXPECT_TRUE(w->menu_item("BGM")->isChecked());
  EXPECT_EQ(sound.looped, std::vector<int>{w->game.snd_bgm});
  EXPECT_EQ(w->g.background_id, background_green);
  EXPECT_EQ(w->canvas.picture_at(-3, -2), background_green);
  EXPECT_TRUE(dialogs.shown.empty());  // silently
}

TEST_F(SettingsTest, PartialFileSetsOnlyWhatItNames) {
  with_settings("背景画=宇宙\r\nBGM=OFF\r\n");
  start();
  EXPECT_EQ(w->g.background_id, background_space);
  EXPECT_TRUE(w->menu_item("UCHU")->isChecked());
  EXPECT_FALSE(w->menu_item("MIDORI")->isChecked());
  EXPECT_EQ(w->canvas.picture_at(-3, -2), background_space);  // painted before showing
  EXPECT_FALSE(w->menu_item("BGM")->isChecked());
  EXPECT_TRUE(sound.looped.empty());
  EXPECT_FALSE(w->menu_item("SIDOU")->isChecked());
  EXPECT_FALSE(w->menu_item("KEIKA")->isChecked());
  // The next change rewrites all four lines.
  trigger("SIDOU");
  EXPECT_EQ(file_bytes(ini_path()),
            sjis("背景画=宇宙\r\n移動指導=ON\r\n経過時間=OFF\r\nBGM=OFF\r\n"));
}

TEST_F(SettingsTest, FullFileSetsAllFour) {
  with_settings("背景画=煉瓦\r\n移動指導=ON\r\n経過時間=ON\r\nBGM=ON\r\n");
  start();
  EXPECT_EQ(w->g.background_id, background_brick);
  EXPECT_TRUE(w->menu_item("SIDOU")->isChecked());
  EXPECT_EQ(w->g.guidance_on, flag_on);
  EXPECT_EQ(w->g.colour_guide, colour_text);
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
  EXPECT_EQ(sound.looped, std::vector<int>{w->game.snd_bgm});
}

TEST_F(SettingsTest, LowerCaseOnCountsAsOff) {
  with_settings("移動指導=on\r\n");
  start();
  EXPECT_FALSE(w->menu_item("SIDOU")->isChecked());
  EXPECT_EQ(w->g.guidance_on, flag_off);
  EXPECT_EQ(w->g.colour_guide, colour_plain);
}

TEST_F(SettingsTest, LineWithoutEqualsResetsEverythingToTheDefaults) {
  with_settings("背景画=宇宙\r\n移動指導=ON\r\nBGM\r\n");
  start();
  EXPECT_EQ(file_bytes(ini_path()), default_file_text);
  EXPECT_EQ(w->g.background_id, background_green);
  EXPECT_TRUE(w->menu_item("MIDORI")->isChecked());
  EXPECT_FALSE(w->menu_item("UCHU")->isChecked());
  EXPECT_FALSE(w->menu_item("SIDOU")->isChecked());
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
  EXPECT_TRUE(w->menu_item("BGM")->isChecked());
  EXPECT_EQ(w->canvas.picture_at(-3, -2), background_green);
}

TEST_F(SettingsTest, Utf8FileIsReadToo) {
  settings_ = QByteArray("背景画=竹\n経過時間=ON\n");
  start();
  EXPECT_EQ(w->g.background_id, background_bamboo);
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
}

TEST_F(SettingsTest, FileWithoutBackgroundLineDrawsGreenWithNoMark) {
  with_settings("BGM=OFF\r\n");
  start();
  EXPECT_EQ(w->canvas.picture_at(-3, -2), background_green);
  for (const char* n : {"MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA"})
    EXPECT_FALSE(w->menu_item(n)->isChecked()) << n;
  trigger("BGM");
  EXPECT_EQ(file_bytes(ini_path()), sjis("移動指導=OFF\r\n経過時間=OFF\r\nBGM=ON\r\n"));
}

TEST_F(SettingsTest, ChoosingABackgroundTwiceWritesTwiceAndChangesNothingElse) {
  start();
  trigger("TAKE");
  const QByteArray once = file_bytes(ini_path());
  EXPECT_EQ(once, sjis("背景画=竹\r\n移動指導=OFF\r\n経過時間=OFF\r\nBGM=OFF\r\n"));
  QFile::remove(ini_path());
  w->canvas.clear_log();
  trigger("TAKE");
  EXPECT_EQ(file_bytes(ini_path()), once);  // written again
  EXPECT_EQ(w->canvas.picture_at(-3, -2), background_bamboo);  // redrawn again
  EXPECT_TRUE(w->menu_item("TAKE")->isChecked());
  EXPECT_EQ(w->g.background_id, background_bamboo);
}

TEST_F(SettingsTest, EachOptionChangeRewritesTheFile) {
  start();
  trigger("KEIKA");
  EXPECT_EQ(file_bytes(ini_path()), sjis("背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=OFF\r\n"));
  trigger("BGM");
  EXPECT_EQ(file_bytes(ini_path()), default_file_text);
  trigger("RENGA");
  EXPECT_EQ(file_bytes(ini_path()), sjis("背景画=煉瓦\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n"));
}

TEST_F(SettingsTest, UnwritableFileLeavesTheDefaultsInMemorySilently) {
  settings_ = QByteArray();
  // A folder where the file should be: neither readable nor writable as a file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Nirvex将棋.ini")));
  start();
  EXPECT_TRUE(w->menu_item("BGM")->isChecked());
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
  trigger("SIDOU");  // the write fails twice: the defaults stay in force
  EXPECT_FALSE(w->menu_item("SIDOU")->isChecked());
  EXPECT_TRUE(dialogs.shown.empty());
  trigger("START");
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
}

// Far more than four lines can hold: a file with a broken line, however
// good its lines are; the defaults, and the file written anew.
TEST_F(SettingsTest, AFileFarLargerThanFourLinesCountsAsBroken) {
  settings_ = sjis("背景画=宇宙\r\n移動指導=ON\r\n").repeated(4000);  // 92 KB
  start();
  EXPECT_EQ(file_bytes(ini_path()), default_file_text);
  EXPECT_EQ(w->g.background_id, background_green);
  EXPECT_TRUE(w->menu_item("MIDORI")->isChecked());
  EXPECT_FALSE(w->menu_item("SIDOU")->isChecked());
  EXPECT_TRUE(w->menu_item("BGM")->isChecked());
  EXPECT_TRUE(dialogs.shown.empty());
}

// A pipe where the file should be does not hold up the start: the
// defaults, and a plain file with the four lines takes its place.
TEST_F(SettingsTest, APipeInsteadOfTheFileNeitherBlocksNorStays) {
  settings_ = QByteArray();
  ASSERT_EQ(::mkfifo(QFile::encodeName(ini_path()).constData(), 0644), 0);
  start();
  EXPECT_TRUE(QFileInfo(ini_path()).isFile());
  EXPECT_EQ(file_bytes(ini_path()), default_file_text);
  EXPECT_TRUE(w->menu_item("KEIKA")->isChecked());
  trigger("SIDOU");  // and later changes are kept
  EXPECT_TRUE(w->menu_item("SIDOU")->isChecked());
  EXPECT_EQ(file_bytes(ini_path()),
            sjis("背景画=緑\r\n移動指導=ON\r\n経過時間=ON\r\nBGM=ON\r\n"));
}

}  // namespace
}  // namespace nirvex::testing
