// The folder the game starts in: the build tree's program stays where it
// was started; the installed one gets a folder of the player's own,
// holding links to the installed data files and the player's settings.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ui/user_folder.h"

namespace nirvex {
namespace {

// Writes text into a file, making its folder.
void write_file(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

QByteArray read_file(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// An installed game in a scratch prefix: prefix/bin and the data folder
// where the installed program looks for it, with a few data files.
class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    bin = tmp.filePath("prefix/bin");
    data = QDir::cleanPath(QDir(bin).filePath(QString::fromUtf8(data_folder_from_program)));
    ASSERT_TRUE(QDir().mkpath(bin));
    write_file(data + "/BGM.wav", "bgm");
    write_file(data + "/禁止.wav", "forbidden");
    write_file(data + "/Nirvex将棋.htm", "<html>");
    write_file(data + "/images/NIRVEX@4x.png", "png");
  }
  QString in_tmp(const QString& name) const { return tmp.filePath(name); }

  QTemporaryDir tmp;
  QString bin, data;
};

TEST(UserFolderPath, FollowsXdgDataHomeOrFallsBackBelowHome) {
  EXPECT_EQ(user_folder_path("/x/data", "/home/p"), "/x/data/nirvex-shogi");
  EXPECT_EQ(user_folder_path("/x/data/", "/home/p"), "/x/data/nirvex-shogi");
  EXPECT_EQ(user_folder_path("", "/home/p"), "/home/p/.local/share/nirvex-shogi");
  // A relative XDG_DATA_HOME is not valid and is passed over.
  EXPECT_EQ(user_folder_path("data", "/home/p"), "/home/p/.local/share/nirvex-shogi");
}

TEST_F(Installed, DataFolderIsFoundBesideTheInstalledProgramOnly) {
  EXPECT_EQ(installed_data_folder(bin), data);
  const QString build_bin = in_tmp("build/bin");
  QDir().mkpath(build_bin);
  EXPECT_EQ(installed_data_folder(build_bin), QString());
}

TEST_F(Installed, FirstStartMakesTheFolderWithLinksToEveryDataFile) {
  // A settings file left in the data folder belongs to nobody in particular.
  write_file(data + "/Nirvex将棋.ini", "背景画=宇宙");
  const QString own = in_tmp("home/.local/share/nirvex-shogi");
  ASSERT_EQ(prepare_user_folder(own, data), QString());

  for (const QString name : {"BGM.wav", "禁止.wav", "Nirvex将棋.htm", "images"}) {
    const QFileInfo link(own + "/" + name);
    EXPECT_TRUE(link.isSymLink()) << name.toStdString();
    EXPECT_EQ(link.canonicalFilePath(), QFileInfo(data + "/" + name).canonicalFilePath())
        << name.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(own + "/Nirvex将棋.ini"));

  // By bare name from inside the folder, as the game reads its files; the
  // manual's pictures are found beside the page.
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(own));
  EXPECT_EQ(read_file("BGM.wav"), "bgm");
  EXPECT_EQ(read_file("images/NIRVEX@4x.png"), "png");
  QDir::setCurrent(before);
}

TEST_F(Installed, LaterStartKeepsThePlayersFilesAndRenewsTheLinks) {
  const QString own = in_tmp("own");
  ASSERT_EQ(prepare_user_folder(own, data), QString());
  write_file(own + "/Nirvex将棋.ini", "背景画=竹\r\n");
  // A link left by an earlier install elsewhere, a wave the player put in
  // place of the game's, and a data file new in this install.
  write_file(in_tmp("old/BGM.wav"), "old");
  QFile::remove(own + "/BGM.wav");
  ASSERT_TRUE(QFile::link(in_tmp("old/BGM.wav"), own + "/BGM.wav"));
  QFile::remove(own + "/禁止.wav");
  write_file(own + "/禁止.wav", "mine");
  write_file(data + "/駒打音.wav", "piece");

  ASSERT_EQ(prepare_user_folder(own, data), QString());
  EXPECT_EQ(read_file(own + "/Nirvex将棋.ini"), "背景画=竹\r\n");
  EXPECT_EQ(read_file(own + "/BGM.wav"), "bgm");
  EXPECT_EQ(read_file(own + "/禁止.wav"), "mine");
  EXPECT_FALSE(QFileInfo(own + "/禁止.wav").isSymLink());
  EXPECT_EQ(read_file(own + "/駒打音.wav"), "piece");
}

TEST_F(Installed, StartFolderIsTheBuildTreesOwnOrEachPlayersOwn) {
  const QString build_bin = in_tmp("build/bin");
  QDir().mkpath(build_bin);
  const StartFolder build = choose_start_folder(build_bin, in_tmp("xdg"), in_tmp("home"));
  EXPECT_EQ(build.path, QString());
  EXPECT_EQ(build.problem, QString());
  EXPECT_FALSE(QFileInfo::exists(in_tmp("xdg")));

  const StartFolder first = choose_start_folder(bin, in_tmp("xdg1"), in_tmp("home1"));
  const StartFolder second = choose_start_folder(bin, QString(), in_tmp("home2"));
  EXPECT_EQ(first.path, in_tmp("xdg1/nirvex-shogi"));
  EXPECT_EQ(second.path, in_tmp("home2/.local/share/nirvex-shogi"));
  EXPECT_EQ(first.problem + second.problem, QString());
  EXPECT_EQ(read_file(first.path + "/BGM.wav"), "bgm");
  EXPECT_EQ(read_file(second.path + "/BGM.wav"), "bgm");
}

TEST_F(Installed, InstallBelowTheDataHomeItselfRunsInItsOwnDataFolder) {
  // cmake --install --prefix ~/.local: the player's folder is the data folder.
  const StartFolder start =
      choose_start_folder(bin, QFileInfo(data).path(), in_tmp("home"));
  EXPECT_EQ(start.path, data);
  EXPECT_EQ(start.problem, QString());
  EXPECT_FALSE(QFileInfo(data + "/BGM.wav").isSymLink());
  EXPECT_EQ(read_file(data + "/BGM.wav"), "bgm");
}

TEST_F(Installed, FolderThatCannotBeMadeIsExplainedAndTheGameRunsInTheDataFolder) {
  write_file(in_tmp("home/.local"), "a file where a folder should be");
  const StartFolder start = choose_start_folder(bin, QString(), in_tmp("home"));
  EXPECT_EQ(start.path, data);
  EXPECT_TRUE(start.problem.contains(in_tmp("home/.local/share/nirvex-shogi")))
      << start.problem.toStdString();
  EXPECT_TRUE(start.problem.contains("作れませんでした")) << start.problem.toStdString();
  EXPECT_TRUE(start.problem.contains("既定の設定")) << start.problem.toStdString();
}

}  // namespace
}  // namespace nirvex
