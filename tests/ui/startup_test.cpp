// Program start, the menu bar, leaving the program, and the sound device.
#include <QMenu>
#include <QMenuBar>
#include <QAbstractEventDispatcher>

#include <sys/stat.h>

#include "tests/ui/window_fixture.h"
#include "ui/program_modules.h"
#include "ui/qt_platform.h"

namespace nirvex::testing {
namespace {

TEST_F(WindowTest, StartsWithTheInitialPositionAndNoGame) {
  start();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Nirvex将棋"));
  EXPECT_TRUE(w->menu_item("LEVEL3")->isChecked());
  EXPECT_FALSE(w->menu_item("LEVEL1")->isChecked());
  EXPECT_EQ(w->g.level, 3);
  EXPECT_EQ(w->g.turn, side_none);
  EXPECT_EQ(w->g.lower_side, w->g.second_side);
  EXPECT_EQ(w->g.upper_side, w->g.first_side);
  EXPECT_EQ(QString::fromStdString(w->game.start_dir), QDir::currentPath());
  EXPECT_FALSE(w->timer_running());
  // Four waves, the music last.
  EXPECT_NE(w->game.snd_other, 0);
  EXPECT_NE(w->game.snd_forbidden, 0);
  EXPECT_NE(w->game.snd_piece, 0);
  EXPECT_NE(w->game.snd_bgm, 0);
  EXPECT_EQ(sound.created_sizes.size(), 4u);
  // The board as painted matches the position.
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 6; ++y) EXPECT_EQ(w->canvas.picture_at(x, y), w->g.board[x][y]);
  EXPECT_EQ(w->canvas.picture_at(10.2, 0), title_picture_id);
}

TEST_F(WindowTest, MenuBarHasEveryItemWithItsCaption) {
  start();
  const std::pair<const char*, const char*> items[] = {
      {"TAIKYOKU", "対局"}, {"MATCH_MAN", "対局(人間)"}, {"START", "スタート"},
      {"START2", "対局(COM)"}, {"SENTE", "先手"}, {"GOTE", "後手"},
      {"LEVEL", "COM対局ﾚﾍﾞﾙ"}, {"LEVEL1", "LEVEL1"}, {"LEVEL2", "LEVEL2"},
      {"LEVEL3", "LEVEL3"}, {"OWARI", "終わり"}, {"STOP", "局面"},
      {"CANCEL", "最初"}, {"REVERSE", "反転"}, {"REPLAY", "戻"}, {"AFTER", "進"},
      {"KIFU", "棋譜"}, {"KIFU_READ", "読込"}, {"KIFU_WRITE", "書込"},
      {"OPTION", "ｵﾌﾟｼｮﾝ"}, {"HAIKEI_GA", "背景画"}, {"MIDORI", "緑"},
      {"TATAMI", "畳"}, {"TAKE", "竹"}, {"UCHU", "宇宙"}, {"RENGA", "煉瓦"},
      {"SIDOU", "移動指導"}, {"KEIKA", "経過時間"}, {"BGM", "BGM"},
      {"SONOTA", "その他"}, {"KAISETU", "解説"}, {"VER", "バージョン情報"}};
  for (const auto& [name, caption] : items) {
    QAction* a = w->menu_item(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    EXPECT_EQ(a->text(), QString::fromUtf8(caption)) << name;
  }
  // The top level in order, with "戻" and "進" directly on the bar.
  QStringList top;
  for (QAction* a : w->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, (QStringList{"対局", "局面", "戻", "進", "棋譜", "ｵﾌﾟｼｮﾝ", "その他"}));
  EXPECT_TRUE(w->menu_item("MIDORI")->isChecked());
}

TEST_F(WindowTest, ClickBeforeAnyGameAsksToStartOne) {
  start();
  click(1, 5);
  EXPECT_EQ(played_names(), QStringList{"forbidden"});
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(last_message().text, QStringLiteral("「対局」で始めて下さい"));
  EXPECT_EQ(last_message().title, QStringLiteral("開始"));
  EXPECT_EQ(w->g.pick_state, 0);
}

TEST_F(WindowTest, EscapeEndsTheProgramAndReleasesTheSounds) {
  start();
  QTest::keyClick(w.get(), Qt::Key_Escape);
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(dialogs.shown.empty());  // no question asked
  EXPECT_EQ(sound.freed, (std::vector<int>{w->game.snd_other, w->game.snd_forbidden,
                                           w->game.snd_piece, w->game.snd_bgm}));
  EXPECT_EQ(sound.terminated, 7);
}

TEST_F(WindowTest, OtherKeysDoNothing) {
  start();
  QTest::keyClick(w.get(), Qt::Key_A);
  Form_KeyPress(w->game, 13);
  EXPECT_EQ(ended, 0);
  EXPECT_TRUE(sound.freed.empty());
}

TEST_F(WindowTest, OwariAndClosingTheWindowEndTheProgram) {
  start();
  trigger("OWARI");
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(sound.freed.size(), 4u);
  w->close();
  EXPECT_EQ(sound.freed.size(), 4u);  // released once only
}

TEST_F(WindowTest, ClosingTheWindowEndsTheProgram) {
  start();
  w->close();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(sound.freed.size(), 4u);
  EXPECT_EQ(sound.terminated, 7);
}

TEST_F(WindowTest, NoSoundDeviceWarnsOnceAndRunsSilent) {
  sound.device_available = false;
  w = std::make_unique<MainWindow>(platform_);
  w->Form_Load();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Direct Soundインターフェースが作成できません。"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Nirvex将棋.dll"));
  EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::warning);
  EXPECT_EQ(w->game.snd_piece, 0);
  EXPECT_EQ(w->game.snd_bgm, 0);
  EXPECT_TRUE(sound.created_sizes.empty());
  // The game goes on.
  trigger("START");
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
  // Leaving does not terminate a device that never opened.
  trigger("OWARI");
  EXPECT_EQ(sound.terminated, 0);
}

// A sound module that cannot be found costs what a missing device costs:
// the same warning once, a silent game, and a quiet goodbye.
class NoSoundModuleTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    platform_.sound = &no_library;
  }
  SdlSound no_library{[]() -> const SoundLibrary* { return nullptr; }};
};

TEST_F(NoSoundModuleTest, TheGameWarnsAsWithoutADeviceAndRunsSilent) {
  w = std::make_unique<MainWindow>(platform_);
  w->Form_Load();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Direct Soundインターフェースが作成できません。"));
  EXPECT_EQ(w->game.snd_piece, 0);
  EXPECT_EQ(w->game.snd_bgm, 0);
  trigger("START");
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
  trigger("BGM");
  trigger("OWARI");
  EXPECT_EQ(ended, 1);
}

// A module or a name in it that is not there is null, not a failure.
TEST(ProgramModules, AMissingModuleOrSymbolIsNull) {
  EXPECT_EQ(module_symbol("nirvex-no-such-module", "nirvex_sound_library"), nullptr);
  EXPECT_EQ(module_symbol("nirvex-sound", "nirvex_no_such_call"), nullptr);
  EXPECT_NE(module_symbol("nirvex-sound", "nirvex_sound_library"), nullptr);
}

class NoWavesTest : public WindowTest {
 protected:
  NoWavesTest() { with_waves_ = false; }
};

TEST_F(NoWavesTest, MissingWaveFilesGiveSilentBuffers) {
  start();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(w->game.snd_bgm, 0);
  EXPECT_EQ(w->game.snd_piece, 0);
  trigger("BGM");
  EXPECT_TRUE(w->menu_item("BGM")->isChecked());
  EXPECT_EQ(sound.looped, std::vector<int>{0});
}

// A pipe under the music's name is no wave: the start neither waits on it
// nor makes a buffer of it, and says why.
TEST_F(NoWavesTest, APipeInsteadOfAWaveDoesNotHoldUpTheStart) {
  ASSERT_EQ(mkfifo(QFile::encodeName(dir_.filePath(QStringLiteral("BGM.wav"))).constData(), 0600), 0);
  w = std::make_unique<MainWindow>(platform_);
  w->Form_Load();
  EXPECT_EQ(w->game.snd_bgm, 0);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Nirvex将棋.dll"));
  EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::warning);
}

TEST_F(WindowTest, BgmItemStartsAndStopsTheMusic) {
  start();
  trigger("BGM");
  EXPECT_TRUE(w->menu_item("BGM")->isChecked());
  EXPECT_EQ(sound.looped, std::vector<int>{w->game.snd_bgm});
  trigger("BGM");
  EXPECT_FALSE(w->menu_item("BGM")->isChecked());
  EXPECT_EQ(sound.stopped, std::vector<int>{w->game.snd_bgm});
}

TEST_F(WindowTest, LevelDuringATwoPlayerGameChangesOnlyTheMark) {
  start();
  trigger("START");
  w->canvas.clear_log();
  trigger("LEVEL1");
  EXPECT_EQ(w->g.level, 1);
  EXPECT_TRUE(w->menu_item("LEVEL1")->isChecked());
  EXPECT_FALSE(w->menu_item("LEVEL3")->isChecked());
  EXPECT_FALSE(w->menu_item("LEVEL2")->isChecked());
  EXPECT_TRUE(w->canvas.text_log().empty());  // no level digit drawn
  trigger("LEVEL2");
  EXPECT_EQ(w->g.level, 2);
  EXPECT_FALSE(w->menu_item("LEVEL1")->isChecked());
}

TEST_F(WindowTest, WindowScalesAndClicksMapThroughTheSameScale) {
  start();
  trigger("START");
  for (QSize size : {QSize(500, 420), QSize(1900, 1000), QSize(1200, 1400)}) {
    w->resize(size);
    QCoreApplication::processEvents();
    const QRectF r = w->board_view()->target_rect();
    // Proportions kept.
    EXPECT_NEAR(r.width() / r.height(), double(surface_width_twips) / surface_height_twips,
                0.01);
    const QPointF t = w->board_view()->to_twips(w->board_view()->from_twips({3000, 2000}));
    EXPECT_NEAR(t.x(), 3000, 1e-6);
    EXPECT_NEAR(t.y(), 2000, 1e-6);
  }
  w->resize(700, 520);
  QCoreApplication::processEvents();
  move(1, 5, 1, 4);
  EXPECT_EQ(w->g.board[1][4], -20);
  EXPECT_EQ(w->g.board[1][5], 0);
}

// A window with no game running, its size settled, keeps no timer: it
// wakes nobody until the player does something.  A timed turn runs Timer1
// and nothing else.
TEST_F(WindowTest, AnIdleWindowKeepsNoTimer) {
  start();
  const auto timers = [&] {
    int count = 0;
    QList<QObject*> objects = w->findChildren<QObject*>();
    objects << w.get();
    for (QObject* o : objects)
      count += static_cast<int>(QAbstractEventDispatcher::instance()->registeredTimers(o).size());
    return count;
  };
  // Once the start's own one-shot work is done (the list's layout, a
  // sharp picture after a size change) the count falls to none, and stays.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w->board_view()->resizing() && timers() == 0; }, 5000));
  QTest::qWait(200);
  EXPECT_EQ(timers(), 0);
  trigger("KEIKA");
  trigger("START");
  EXPECT_TRUE(w->timer_running());
  EXPECT_TRUE(QTest::qWaitFor([&] { return timers() == 1; }, 5000));
  QTest::qWait(200);
  EXPECT_EQ(timers(), 1);
}

// The desktop's sound library opens its device while the window is made;
// the game's first dsInitialize is given that device, a later one after
// dsTerminate opens it anew.
TEST(DesktopSound, TheFirstInitializeTakesTheDeviceOpenedAtStart) {
  // SDL's silent driver, also where a machine has no sound of its own.
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SdlSound sound;
  const int device = sound.dsInitialize(0);
  ASSERT_GT(device, 0);
  ASSERT_NE(sound_library(), nullptr);
  EXPECT_EQ(sound_library()->dsInitialize(0), device);
  sound.dsTerminate(device);
  const int again = sound.dsInitialize(0);
  EXPECT_GT(again, 0);
  EXPECT_NE(again, device);
  sound.dsTerminate(again);
}

}  // namespace
}  // namespace nirvex::testing
