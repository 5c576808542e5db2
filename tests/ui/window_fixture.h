// A real main window on the offscreen platform, with the desktop replaced
// by fakes, started in a scratch folder that holds the four wave files.
#pragma once

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QStringEncoder>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/fakes.h"
#include "ui/board_view.h"
#include "ui/flow/clocks.h"
#include "ui/flow/computer_turn.h"
#include "ui/flow/painting.h"
#include "ui/flow/preferences.h"
#include "ui/flow/program.h"
#include "ui/flow/start_commands.h"
#include "ui/main_window.h"
#include "ui/record_panel.h"

namespace nirvex::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    old_dir_ = QDir::currentPath();
    if (with_waves_) {
      for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"}) {
        const QString n = QString::fromUtf8(name);
        ASSERT_TRUE(QFile::copy(QStringLiteral(NIRVEX_SOUNDS_DIR "/") + n,
                                dir_.filePath(n)))
            << name;
      }
    }
    QDir::setCurrent(dir_.path());
    platform_.dialogs = &dialogs;
    platform_.clock = &clock;
    platform_.sound = &sound;
    platform_.browser = &browser;
    platform_.end_program = [this] { ++ended; };
    platform_.show_modal = [this](QDialog* d) {
      ++modal_shown;
      if (on_modal) on_modal(d);
    };
  }

  void TearDown() override {
    w.reset();
    QDir::setCurrent(old_dir_);
  }

  // Creates and loads the window (as the program does at start).
  void start() {
    if (!settings_.isNull()) {
      QFile ini(dir_.filePath(QStringLiteral("Nirvex将棋.ini")));
      ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
      ini.write(settings_);
    }
    w = std::make_unique<MainWindow>(platform_);
    w->resize(948, 606 + 30);
    w->show();
    w->Form_Load();
    dialogs.shown.clear();
    sound.played.clear();
  }
  // The same, and waits until the window is on the screen: its pixels are
  // there to be read.
  void start_on_screen() {
    start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  }

  void trigger(const char* item) {
    QAction* a = w->menu_item(QString::fromLatin1(item));
    ASSERT_NE(a, nullptr) << item;
    a->trigger();
  }

  // Clicks the middle of a cell with a real mouse event on the board view.
  void click(int col, int row, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF twips(board_left + (col + 0.5) * cell_width,
                        board_top + (row + 0.5) * cell_height);
    const QPointF px = w->board_view()->from_twips(twips);
    QTest::mouseClick(w->board_view(), button, Qt::NoModifier, px.toPoint());
  }

  // A move by two clicks: pick, then destination with the given button.
  void move(int fc, int fr, int tc, int tr, Qt::MouseButton button = Qt::LeftButton) {
    click(fc, fr);
    click(tc, tr, button);
  }

  QStringList played_names() const {
    QStringList out;
    for (int id : sound.played) {
      if (id == w->game.snd_piece) out << "piece";
      else if (id == w->game.snd_forbidden) out << "forbidden";
      else if (id == w->game.snd_other) out << "other";
      else out << QString::number(id);
    }
    return out;
  }

  const ShownMessage& last_message() const { return dialogs.shown.back(); }

  bool with_waves_ = true;
  // The settings file the program finds at start; null for none.  Tests
  // start with every option off unless they say otherwise.
  QByteArray settings_ = QByteArray(
      "\x94\x77\x8c\x69\x89\xe6=\x97\xce\r\n"  // 背景画=緑 in Shift_JIS
      "\x88\xda\x93\xae\x8e\x77\x93\xb1=OFF\r\n"  // 移動指導
      "\x8c\x6f\x89\xdf\x8e\x9e\x8a\xd4=OFF\r\n"  // 経過時間
      "BGM=OFF\r\n");
  QTemporaryDir dir_;
  QString old_dir_;
  QString ini_path() const { return dir_.filePath(QStringLiteral("Nirvex将棋.ini")); }
  FakeDialogs dialogs;
  FakeClock clock;
  FakeSound sound;
  FakeBrowser browser;
  Platform platform_;
  int ended = 0;
  int modal_shown = 0;
  std::function<void(QDialog*)> on_modal;  // plays the user of a modal box
  std::unique_ptr<MainWindow> w;
};

}  // namespace nirvex::testing
