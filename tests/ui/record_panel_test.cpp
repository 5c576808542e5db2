// The record panel: which controls show when, the names cleared on every
// close, the drive, folder and file lists, and the placing of the controls
// on the board view as the window changes size.
#include <QMenu>
#include <QStorageInfo>

#include "tests/ui/record_fixture.h"

namespace nirvex::testing {
namespace {

class RecordPanel : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    start_two_players();
  }

  void open_write_and_type() {
    trigger("KIFU_WRITE");
    w->record_panel()->Text1->setText("f");
    w->record_panel()->Text2->setText("g");
    w->record_panel()->Text3->setText("s");
    w->record_panel()->Text4->setText("t");
  }
};

TEST_F(RecordPanel, StartsClosed) {
  EXPECT_TRUE(all_hidden(file_lists()));
  EXPECT_TRUE(all_hidden(name_panel()));
}

TEST_F(RecordPanel, ReadShowsTheThreeLists) {
  trigger("KIFU_READ");
  EXPECT_TRUE(all_visible(file_lists()));
  EXPECT_TRUE(all_hidden(name_panel()));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RecordPanel, WriteShowsDrivesFoldersAndTheNames) {
  trigger("KIFU_WRITE");
  EXPECT_TRUE(w->record_panel()->Drive1->isVisible());
  EXPECT_TRUE(w->record_panel()->Dir1->isVisible());
  EXPECT_FALSE(w->record_panel()->File1->isVisible());
  EXPECT_TRUE(all_visible(name_panel()));
  EXPECT_EQ(w->record_panel()->Label1[0]->text(), QStringLiteral("対 局 名："));
  EXPECT_EQ(w->record_panel()->Label1[1]->text(), QStringLiteral("先    手 ："));
  EXPECT_EQ(w->record_panel()->Label1[2]->text(), QStringLiteral("後    手 ："));
  EXPECT_EQ(w->record_panel()->Label1[3]->text(), QStringLiteral("ﾌｧｲﾙ名 ："));
  EXPECT_EQ(w->record_panel()->Command1->text(), QStringLiteral("RETURN"));
}

TEST_F(RecordPanel, TheNamesStayWhileThePanelStaysOpen) {
  open_write_and_type();
  trigger("KIFU_WRITE");
  EXPECT_EQ(w->record_panel()->Text1->text(), QStringLiteral("f"));
  EXPECT_EQ(w->record_panel()->Text4->text(), QStringLiteral("t"));
}

TEST_F(RecordPanel, EveryCloseHidesEverythingAndEmptiesTheNames) {
  const std::vector<std::pair<const char*, std::function<void()>>> closers = {
      {"対局 menu", [&] { emit w->menu("TAIKYOKU")->aboutToShow(); }},
      {"局面 menu", [&] { emit w->menu("STOP")->aboutToShow(); }},
      {"ｵﾌﾟｼｮﾝ menu", [&] { emit w->menu("OPTION")->aboutToShow(); }},
      {"進", [&] { trigger("AFTER"); }},
      {"戻", [&] { trigger("REPLAY"); }},
      {"board click", [&] { click(3, 3); }},
      {"読込", [&] { trigger("KIFU_READ"); }},
      {"バージョン情報", [&] {
         // The panel is already closed when the about box shows.
         on_modal = [&](QDialog*) {
           EXPECT_TRUE(all_hidden(name_panel()));
           EXPECT_TRUE(all_hidden(file_lists()));
           EXPECT_EQ(played_names().back(), QStringLiteral("other"));
         };
         trigger("VER");
         on_modal = nullptr;
       }},
  };
  for (const auto& [name, close] : closers) {
    open_write_and_type();
    close();
    EXPECT_TRUE(all_hidden(name_panel())) << name;
    EXPECT_TRUE(names_empty()) << name;
    if (std::string(name) != "読込") {
      EXPECT_TRUE(all_hidden(file_lists())) << name;
    }
    // The next "書込" starts with empty names.
    trigger("KIFU_WRITE");
    EXPECT_TRUE(names_empty()) << name;
    emit w->menu("TAIKYOKU")->aboutToShow();
  }
}

TEST_F(RecordPanel, TheFileListsCloseLikeTheNamePanel) {
  trigger("KIFU_READ");
  emit w->menu("STOP")->aboutToShow();
  EXPECT_TRUE(all_hidden(file_lists()));
  trigger("KIFU_READ");
  click(3, 3);
  EXPECT_TRUE(all_hidden(file_lists()));
}

TEST_F(RecordPanel, APressOnALabelIsNotABoardClick) {
  open_write_and_type();
  QTest::mouseClick(w->record_panel()->Label1[0], Qt::LeftButton);
  EXPECT_TRUE(all_visible(name_panel()));
  EXPECT_EQ(w->record_panel()->Text2->text(), QStringLiteral("g"));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RecordPanel, WriteAfterAFlipIsRefusedAndChangesNothing) {
  trigger("REVERSE");
  dialogs.shown.clear();
  sound.played.clear();
  trigger("KIFU_WRITE");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("反転後は書き込みできません"));
  EXPECT_EQ(last_message().title, QStringLiteral("棋譜書込"));
  EXPECT_TRUE(sound.played.empty());
  EXPECT_TRUE(all_hidden(file_lists()));
  EXPECT_TRUE(all_hidden(name_panel()));
  // Until the next fresh game.
  trigger("CANCEL");
  trigger("KIFU_WRITE");
  EXPECT_TRUE(all_visible(name_panel()));
}

// Every control stands where its twips say, at any window size.
TEST_F(RecordPanel, ControlsFollowTheBoardViewWhenTheWindowIsResized) {
  trigger("KIFU_READ");
  auto expect_at = [&](QWidget* x, int l, int t, int wd, int h) {
    const QPointF a = w->board_view()->from_twips(QPointF(l, t));
    const QPointF b = w->board_view()->from_twips(QPointF(l + wd, t + h));
    EXPECT_EQ(x->geometry(), QRectF(a, b).toRect()) << x->objectName().toStdString();
  };
  auto check_all = [&] {
    expect_at(w->record_panel()->Drive1, 240, 360, 2535, 300);
    expect_at(w->record_panel()->Dir1, 240, 600, 2535, 1710);
    expect_at(w->record_panel()->File1, 240, 2280, 2535, 930);
    for (int i = 0; i < 4; ++i) expect_at(w->record_panel()->Label1[i], 120, 2400 + 240 * i, 855, 255);
    expect_at(w->record_panel()->Text2, 960, 2400, 2295, 270);
    expect_at(w->record_panel()->Text3, 960, 2640, 2295, 270);
    expect_at(w->record_panel()->Text4, 960, 2880, 2295, 270);
    expect_at(w->record_panel()->Text1, 960, 3120, 2295, 270);
    expect_at(w->record_panel()->Command1, 3360, 3000, 855, 375);
  };
  check_all();
  const int small_width = w->record_panel()->Dir1->width();
  w->resize(1600, 1000);
  QCoreApplication::processEvents();
  check_all();
  EXPECT_GT(w->record_panel()->Dir1->width(), small_width);
  w->resize(700, 900);  // a tall window: the board keeps its proportions
  QCoreApplication::processEvents();
  check_all();
}

// The panel, made or not, closed while the window changes size, opens in
// place for the size the window has then.
TEST_F(RecordPanel, ControlsOpenInPlaceAfterTheWindowWasResizedWhileClosed) {
  for (int round = 0; round < 2; ++round) {
    w->resize(1500 - 300 * round, 950);
    QCoreApplication::processEvents();
    trigger("KIFU_READ");
    const QPointF a = w->board_view()->from_twips(QPointF(240, 600));
    const QPointF b = w->board_view()->from_twips(QPointF(240 + 2535, 600 + 1710));
    EXPECT_EQ(w->record_panel()->Dir1->geometry(), QRectF(a, b).toRect()) << round;
    emit w->menu("TAIKYOKU")->aboutToShow();  // closes it
    ASSERT_TRUE(all_hidden(file_lists()));
  }
}

TEST_F(RecordPanel, DrivesListTheRootAndTheHomeFolderFirst) {
  ASSERT_GE(w->record_panel()->Drive1->count(), 1);
  EXPECT_EQ(w->record_panel()->Drive1->itemData(0).toString(), QStringLiteral("/"));
  if (QDir::homePath() != QStringLiteral("/")) {
    EXPECT_EQ(w->record_panel()->Drive1->itemData(1).toString(), QDir::homePath());
  }
  QStringList listed;
  for (int i = 0; i < w->record_panel()->Drive1->count(); ++i) listed << w->record_panel()->Drive1->itemData(i).toString();
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && QFileInfo(v.rootPath()).isDir()) {
      EXPECT_TRUE(listed.contains(QDir::cleanPath(v.rootPath()))) << v.rootPath().toStdString();
    }
}

TEST_F(RecordPanel, ADriveThatCannotBeOpenedIsNotReady) {
  trigger("KIFU_READ");
  const QString before = w->record_panel()->dir1_path();
  const int before_index = w->record_panel()->Drive1->currentIndex();
  w->record_panel()->Drive1->addItem(QStringLiteral("/no-such-drive"), QStringLiteral("/no-such-drive"));
  emit w->record_panel()->Drive1->activated(w->record_panel()->Drive1->count() - 1);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("ﾃﾞﾊﾞｲｽが準備できていません"));
  EXPECT_EQ(last_message().title, QStringLiteral("ｴﾗｰ"));
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(w->record_panel()->dir1_path(), before);
  EXPECT_EQ(w->record_panel()->Drive1->currentIndex(), before_index);
  EXPECT_TRUE(all_visible(file_lists()));
}

TEST_F(RecordPanel, ChoosingADriveShowsItsTopFolderAndItsRecords) {
  QDir(dir_.path()).mkdir(QStringLiteral("drive"));
  const QString drive = dir_.filePath(QStringLiteral("drive"));
  QFile(drive + QStringLiteral("/game.棋譜")).open(QIODevice::WriteOnly);
  trigger("KIFU_READ");
  w->record_panel()->Drive1->addItem(drive, drive);
  emit w->record_panel()->Drive1->activated(w->record_panel()->Drive1->count() - 1);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(w->record_panel()->dir1_path(), drive);
  ASSERT_EQ(w->record_panel()->File1->count(), 1);
  EXPECT_EQ(w->record_panel()->File1->item(0)->text(), QStringLiteral("game.棋譜"));
}

TEST_F(RecordPanel, TheFolderListShowsThePathDownToTheFolderAndItsSubfolders) {
  QDir d(dir_.path());
  d.mkdir(QStringLiteral("b"));
  d.mkdir(QStringLiteral("a"));
  d.mkdir(QStringLiteral(".hidden"));
  w->record_panel()->Dir1_Change(dir_.path());

  // One open folder per level from the top, each inside the one above.
  QStringList chain;
  for (QDir up(dir_.path());; ) {
    chain.prepend(up.isRoot() ? up.absolutePath() : QFileInfo(up.absolutePath()).fileName());
    if (up.isRoot() || !up.cdUp()) break;
  }
  ASSERT_EQ(w->record_panel()->Dir1->topLevelItemCount(), 1);
  QTreeWidgetItem* item = w->record_panel()->Dir1->topLevelItem(0);
  for (int i = 0; i < chain.size(); ++i) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(0), chain[i]);
    if (i + 1 < chain.size()) {
      ASSERT_EQ(item->childCount(), 1) << chain[i].toStdString();
      item = item->child(0);
    }
  }
  EXPECT_EQ(w->record_panel()->Dir1->currentItem(), item);
  ASSERT_EQ(item->childCount(), 2);
  EXPECT_EQ(item->child(0)->text(0), QStringLiteral("a"));
  EXPECT_EQ(item->child(1)->text(0), QStringLiteral("b"));

  // Opening a folder (double click or Enter) moves there, and back up.
  emit w->record_panel()->Dir1->itemActivated(item->child(1), 0);
  EXPECT_EQ(w->record_panel()->dir1_path(), dir_.filePath(QStringLiteral("b")));
  EXPECT_EQ(w->record_panel()->Dir1->currentItem()->text(0), QStringLiteral("b"));
  emit w->record_panel()->Dir1->itemActivated(w->record_panel()->Dir1->currentItem()->parent(), 0);
  EXPECT_EQ(w->record_panel()->dir1_path(), dir_.path());
}

TEST_F(RecordPanel, TheFileListShowsOnlyRecordFilesOfTheFolder) {
  for (const char* name : {"z.棋譜", "x.棋譜", "y.txt", "棋譜"})
    QFile(dir_.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly);
  trigger("KIFU_READ");
  ASSERT_EQ(w->record_panel()->File1->count(), 2);
  EXPECT_EQ(w->record_panel()->File1->item(0)->text(), QStringLiteral("x.棋譜"));
  EXPECT_EQ(w->record_panel()->File1->item(1)->text(), QStringLiteral("z.棋譜"));
}

}  // namespace
}  // namespace nirvex::testing
