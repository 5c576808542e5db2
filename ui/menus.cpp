// The menu bar: every item by its name, each handing its command to the
// game flow.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/flow/clocks.h"
#include "ui/flow/hint.h"
#include "ui/flow/preferences.h"
#include "ui/flow/program.h"
#include "ui/flow/record_menu.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"
#include "ui/main_window.h"
#include "ui/move_list_panel.h"

namespace nirvex {

QAction* MainWindow::add_item(QMenu* parent, const QString& name, const QString& caption,
                              bool checkable) {
  QAction* a = parent ? parent->addAction(caption) : menuBar()->addAction(caption);
  a->setObjectName(name);
  a->setCheckable(checkable);
  items_.insert(name, a);
  return a;
}

QMenu* MainWindow::add_menu(QMenu* parent, const QString& name, const QString& caption) {
  QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name);
  menus_.insert(name, m);
  return m;
}

void MainWindow::on(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [handler] { handler(); });
}

QAction* MainWindow::add_checkable(QMenu* parent, const QString& name, const QString& caption,
                                   std::function<void()> handler) {
  QAction* a = add_item(parent, name, caption, true);
  // Qt flips a checkable item's mark when it is chosen; here the handlers
  // decide the marks themselves, so the mark is put back before they run.
  connect(a, &QAction::triggered, this, [a, handler](bool checked) {
    a->setChecked(!checked);
    handler();
  });
  return a;
}

void MainWindow::build_menus() {
  Game& gm = game;
  auto close_panel = [&gm] { close_record_panel(gm); };

  QMenu* taikyoku = add_menu(nullptr, "TAIKYOKU", "対局");
  connect(taikyoku, &QMenu::aboutToShow, this, close_panel);
  QMenu* man = add_menu(taikyoku, "MATCH_MAN", "対局(人間)");
  on(add_item(man, "START", "スタート"), [&gm] { START_Click(gm); });
  QMenu* com = add_menu(taikyoku, "START2", "対局(COM)");
  on(add_item(com, "SENTE", "先手"), [&gm] { SENTE_Click(gm); });
  on(add_item(com, "GOTE", "後手"), [&gm] { GOTE_Click(gm); });
  QMenu* level = add_menu(taikyoku, "LEVEL", "COM対局ﾚﾍﾞﾙ");
  for (int i = 1; i <= 3; ++i) {
    const QString name = QStringLiteral("LEVEL%1").arg(i);
    add_checkable(level, name, name, [&gm, i] { LEVEL_Click(gm, i); });
  }
  level->addSeparator();
  add_checkable(level, "GAIBU", "外部エンジン…", [this] { GAIBU_Click(); });
  on(add_item(taikyoku, "OWARI", "終わり"), [&gm] { OWARI_Click(gm); });

  QMenu* stop = add_menu(nullptr, "STOP", "局面");
  connect(stop, &QMenu::aboutToShow, this, close_panel);
  on(add_item(stop, "CANCEL", "最初"), [&gm] { CANCEL_Click(gm); });
  on(add_item(stop, "REVERSE", "反転"), [&gm] { REVERSE_Click(gm); });
  on(add_item(stop, "HINTO", "ヒント"), [&gm] { HINTO_Click(gm); });

  on(add_item(nullptr, "REPLAY", "戻"), [&gm] { REPLAY_Click(gm); });
  on(add_item(nullptr, "AFTER", "進"), [&gm] { AFTER_Click(gm); });

  QMenu* kifu = add_menu(nullptr, "KIFU", "棋譜");
  on(add_item(kifu, "KIFU_READ", "読込"), [&gm] { KIFU_READ_Click(gm); });
  on(add_item(kifu, "KIFU_WRITE", "書込"), [&gm] { KIFU_WRITE_Click(gm); });
  on(add_item(kifu, "KIFU_KAISEKI", "棋譜解析"), [this] { KIFU_KAISEKI_Click(); });
  kifu->addSeparator();
  on(add_item(kifu, "SFEN_COPY", "局面をSFENでコピー"), [this] { SFEN_COPY_Click(); });
  on(add_item(kifu, "SFEN_PASTE", "SFENの局面を貼り付け"), [this] { SFEN_PASTE_Click(); });

  QMenu* option = add_menu(nullptr, "OPTION", "ｵﾌﾟｼｮﾝ");
  connect(option, &QMenu::aboutToShow, this, close_panel);
  QMenu* haikei = add_menu(option, "HAIKEI_GA", "背景画");
  const struct {
    const char* name;
    const char* caption;
    int id;
  } backgrounds[] = {{"MIDORI", "緑", background_green},
                     {"TATAMI", "畳", background_tatami},
                     {"TAKE", "竹", background_bamboo},
                     {"UCHU", "宇宙", background_space},
                     {"RENGA", "煉瓦", background_brick}};
  for (const auto& b : backgrounds) {
    const int id = b.id;
    add_checkable(haikei, b.name, QString::fromUtf8(b.caption),
                  [&gm, id] { background_Click(gm, id); });
  }
  add_checkable(option, "SIDOU", "移動指導", [&gm] { SIDOU_Click(gm); });
  add_checkable(option, "KEIKA", "経過時間", [&gm] { KEIKA_Click(gm); });
  add_checkable(option, "BGM", "BGM", [&gm] { BGM_Click(gm); });
  option->addSeparator();
  QAction* list = add_checkable(option, "KIFU_HYOUJI", "棋譜表示", [&gm] { KIFU_HYOUJI_Click(gm); });
  // The move list and the analysis show while its item carries the mark.
  connect(list, &QAction::toggled, this, [this] { show_side_panel(); });
  add_checkable(option, "SAISYUTE", "最終手強調", [&gm] { SAISYUTE_Click(gm); });
  add_checkable(option, "NARI_KAKUNIN", "成/不成を確認", [&gm] { NARI_KAKUNIN_Click(gm); });

  QMenu* sonota = add_menu(nullptr, "SONOTA", "その他");
  on(add_item(sonota, "KAISETU", "解説"), [this] { KAISETU_Click(); });
  on(add_item(sonota, "VER", "バージョン情報"), [this] { VER_Click(); });
}

}  // namespace nirvex
