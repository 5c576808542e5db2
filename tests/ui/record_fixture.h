// A two-player game in the real window, with a short game that has a
// capture, a promotion and a drop by each side, and helpers to look at the
// record panel.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include "tests/ui/window_fixture.h"

namespace nirvex::testing {

inline const QString test_data_dir = QStringLiteral(NIRVEX_TEST_DATA_DIR);

// What stepping must bring back: the position with hands, totals, clocks,
// the side to move and the move number.
struct Snapshot {
  BoardArray board;
  HandArray lower_hand, upper_hand;
  int lower_total, upper_total;
  double lower_time, upper_time;
  int turn, move_number, record_pos;

  static Snapshot of(const GameState& g) {
    return {g.board,           g.lower_hand,       g.upper_hand,
            g.lower_hand_total, g.upper_hand_total, g.lower_time_total,
            g.upper_time_total, g.turn,             g.move_number,
            g.record_pos};
  }
  bool operator==(const Snapshot&) const = default;
  // The same position, hands and turn, whatever the clocks say.  (The
  // record logs every mouse move on the lower side's clock fields, so in a
  // two-player game the totals after a step follow the record, not play.)
  bool same_position(const Snapshot& o) const {
    return board == o.board && lower_hand == o.lower_hand && upper_hand == o.upper_hand &&
           lower_total == o.lower_total && upper_total == o.upper_total && turn == o.turn &&
           move_number == o.move_number && record_pos == o.record_pos;
  }
};

class RecordTest : public WindowTest {
 protected:
  // Two players: the lower side moves first.
  void start_two_players() {
    start();
    trigger("START");
    dialogs.shown.clear();
  }

  // The eight moves; snapshots[i] is the state after i moves.
  void play_short_game(int moves = 8) {
    const double times[8] = {5, 3, 12, 7, 1234.7, 2, 9, 4};
    snapshots.assign(1, Snapshot::of(w->g));
    auto timed = [&](int i) { w->g.turn_elapsed = times[i]; };
    const std::function<void()> steps[8] = {
        [&] { move(1, 5, 1, 4); },
        [&] { move(6, 2, 6, 3); },
        [&] { move(5, 6, 2, 3); },
        [&] { move(6, 3, 6, 4); },
        [&] { move(2, 3, 4, 1, Qt::RightButton); },  // bishop takes silver, promotes
        [&] { move(5, 1, 4, 1); },                   // gold takes the promoted bishop
        [&] { move(8, 3, 3, 3); },                   // lower drops the silver
        [&] { move(-1, 2, 2, 4); },                  // upper drops the bishop
    };
    for (int i = 0; i < moves; ++i) {
      timed(i);
      steps[i]();
      snapshots.push_back(Snapshot::of(w->g));
    }
    ASSERT_EQ(w->g.record_len, moves);
    dialogs.shown.clear();
    sound.played.clear();
  }

  // Opens "書込", types the names and presses "RETURN".
  void save_as(const QString& file, const QString& game = QStringLiteral("ﾃｽﾄ対局"),
               const QString& first = QStringLiteral("先手太郎"),
               const QString& second = QStringLiteral("後手花子")) {
    trigger("KIFU_WRITE");
    w->record_panel()->Text2->setText(game);
    w->record_panel()->Text3->setText(first);
    w->record_panel()->Text4->setText(second);
    w->record_panel()->Text1->setText(file);
    QTest::mouseClick(w->record_panel()->Command1, Qt::LeftButton);
  }

  QByteArray bytes_of(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
  }

  void copy_in(const QString& from, const QString& name) {
    QFile::remove(dir_.filePath(name));
    ASSERT_TRUE(QFile::copy(from, dir_.filePath(name))) << from.toStdString();
  }

  std::vector<QWidget*> file_lists() const { return {w->record_panel()->Drive1, w->record_panel()->Dir1, w->record_panel()->File1}; }
  std::vector<QWidget*> name_panel() const {
    return {w->record_panel()->Label1[0], w->record_panel()->Label1[1], w->record_panel()->Label1[2], w->record_panel()->Label1[3], w->record_panel()->Text1,
            w->record_panel()->Text2,     w->record_panel()->Text3,     w->record_panel()->Text4,     w->record_panel()->Command1};
  }
  static bool all_visible(const std::vector<QWidget*>& ws) {
    for (QWidget* x : ws)
      if (!x->isVisible()) return false;
    return true;
  }
  static bool all_hidden(const std::vector<QWidget*>& ws) {
    for (QWidget* x : ws)
      if (x->isVisible()) return false;
    return true;
  }
  bool names_empty() const {
    return w->record_panel()->Text1->text().isEmpty() && w->record_panel()->Text2->text().isEmpty() &&
           w->record_panel()->Text3->text().isEmpty() && w->record_panel()->Text4->text().isEmpty();
  }

  std::vector<Snapshot> snapshots;
};

}  // namespace nirvex::testing
