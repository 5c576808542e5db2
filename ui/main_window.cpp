// Game flow: program start, the menu bar, starting games, the level,
// the winner announcement and leaving the program.
#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "ui/board_view.h"

namespace nirvex {

MainWindow::MainWindow(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  setWindowTitle(QStringLiteral("Nirvex将棋"));
  view_ = new BoardView(canvas, this);
  view_->on_mouse_down = [this](int button, double x, double y) {
    Form_MouseDown(button, x, y);
  };
  setCentralWidget(view_);

  timer1_ = new QTimer(this);
  timer1_->setInterval(50);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });

  build_menus();
}

MainWindow::~MainWindow() { shut_down(); }

QAction* MainWindow::add_item(QMenu* parent, const QString& name,
                              const QString& caption, bool checkable) {
  QAction* a = parent ? parent->addAction(caption) : menuBar()->addAction(caption);
  a->setObjectName(name);
  a->setCheckable(checkable);
  items_.insert(name, a);
  return a;
}

QMenu* MainWindow::add_menu(QMenu* parent, const QString& name,
                            const QString& caption) {
  QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name);
  menus_.insert(name, m);
  return m;
}

QAction* MainWindow::menu_item(const QString& name) const {
  if (items_.contains(name)) return items_.value(name);
  if (menus_.contains(name)) return menus_.value(name)->menuAction();
  return nullptr;
}

QMenu* MainWindow::menu(const QString& name) const { return menus_.value(name); }

void MainWindow::build_menus() {
  auto close_panel = [this] {
    show_file_lists(false, false, false);
    show_name_panel(1);
  };

  QMenu* taikyoku = add_menu(nullptr, "TAIKYOKU", "対局");
  connect(taikyoku, &QMenu::aboutToShow, this, close_panel);
  QMenu* man = add_menu(taikyoku, "MATCH_MAN", "対局(人間)");
  connect(add_item(man, "START", "スタート"), &QAction::triggered, this,
          [this] { START_Click(); });
  QMenu* com = add_menu(taikyoku, "START2", "対局(COM)");
  connect(add_item(com, "SENTE", "先手"), &QAction::triggered, this,
          [this] { SENTE_Click(); });
  connect(add_item(com, "GOTE", "後手"), &QAction::triggered, this,
          [this] { GOTE_Click(); });
  QMenu* level = add_menu(taikyoku, "LEVEL", "COM対局ﾚﾍﾞﾙ");
  for (int i = 1; i <= 3; ++i) {
    const QString name = QStringLiteral("LEVEL%1").arg(i);
    add_checkable(level, name, name, [this, i] { LEVEL_Click(i); });
  }
  connect(add_item(taikyoku, "OWARI", "終わり"), &QAction::triggered, this,
          [this] { OWARI_Click(); });

  QMenu* stop = add_menu(nullptr, "STOP", "局面");
  connect(stop, &QMenu::aboutToShow, this, close_panel);
  connect(add_item(stop, "CANCEL", "最初"), &QAction::triggered, this,
          [this] { CANCEL_Click(); });
  connect(add_item(stop, "REVERSE", "反転"), &QAction::triggered, this,
          [this] { REVERSE_Click(); });

  connect(add_item(nullptr, "REPLAY", "戻"), &QAction::triggered, this,
          [this] { REPLAY_Click(); });
  connect(add_item(nullptr, "AFTER", "進"), &QAction::triggered, this,
          [this] { AFTER_Click(); });

  QMenu* kifu = add_menu(nullptr, "KIFU", "棋譜");
  connect(add_item(kifu, "KIFU_READ", "読込"), &QAction::triggered, this,
          [this] { KIFU_READ_Click(); });
  connect(add_item(kifu, "KIFU_WRITE", "書込"), &QAction::triggered, this,
          [this] { KIFU_WRITE_Click(); });
  kifu->addSeparator();
  connect(add_item(kifu, "SFEN_COPY", "局面をSFENでコピー"), &QAction::triggered,
          this, [this] { SFEN_COPY_Click(); });
  connect(add_item(kifu, "SFEN_PASTE", "SFENの局面を貼り付け"), &QAction::triggered,
          this, [this] { SFEN_PASTE_Click(); });
  build_record_panel();

  QMenu* option = add_menu(nullptr, "OPTION", "ｵﾌﾟｼｮﾝ");
  connect(option, &QMenu::aboutToShow, this, close_panel);
  QMenu* haikei = add_menu(option, "HAIKEI_GA", "背景画");
  const struct { const char* name; const char* caption; int id; } backgrounds[] = {
      {"MIDORI", "緑", background_green},  {"TATAMI", "畳", background_tatami},
      {"TAKE", "竹", background_bamboo},   {"UCHU", "宇宙", background_space},
      {"RENGA", "煉瓦", background_brick}};
  for (const auto& b : backgrounds) {
    const int id = b.id;
    add_checkable(haikei, b.name, QString::fromUtf8(b.caption),
                  [this, id] { background_Click(id); });
  }
  add_checkable(option, "SIDOU", "移動指導", [this] { SIDOU_Click(); });
  add_checkable(option, "KEIKA", "経過時間", [this] { KEIKA_Click(); });
  add_checkable(option, "BGM", "BGM", [this] { BGM_Click(); });

  QMenu* sonota = add_menu(nullptr, "SONOTA", "その他");
  connect(add_item(sonota, "KAISETU", "解説"), &QAction::triggered, this,
          [this] { KAISETU_Click(); });
  connect(add_item(sonota, "VER", "バージョン情報"), &QAction::triggered, this,
          [this] { VER_Click(); });
}

QAction* MainWindow::add_checkable(QMenu* parent, const QString& name,
                                   const QString& caption,
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

void MainWindow::message(const QString& text, const QString& title) {
  platform_.dialogs->message(text, title, MsgButtons::ok, MsgIcon::none);
}

MsgAnswer MainWindow::ask(const QString& text, const QString& title) {
  return platform_.dialogs->message(text, title, MsgButtons::yes_no, MsgIcon::none);
}

void MainWindow::Form_Load() {
  sound_init();
  snd_other = load_wave(QStringLiteral("その他.wav"), 3);
  snd_forbidden = load_wave(QStringLiteral("禁止.wav"), 3);
  snd_piece = load_wave(QStringLiteral("駒打音.wav"), 3);
  snd_bgm = load_wave(QStringLiteral("BGM.wav"), 1);

  g = GameState{};
  start_dir = QDir::currentPath();
  menu_item("LEVEL3")->setChecked(true);
  g.level = 3;
  g.lower_side = g.second_side;
  g.upper_side = g.first_side;
  g.colour_guide = colour_plain;

  canvas.clear(colour_background);
  read_settings();
  new_game();

  // Start at a comfortable size for the screen, keeping the board's
  // proportions; the painted area scales with the window from there.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    const int menu_h = menuBar()->sizeHint().height();
    int h = static_cast<int>(avail.height() * 0.85) - menu_h;
    int w = h * surface_width_twips / surface_height_twips;
    if (w > avail.width() * 0.9) {
      w = static_cast<int>(avail.width() * 0.9);
      h = w * surface_height_twips / surface_width_twips;
    }
    resize(w, h + menu_h);
    move(avail.left() + (avail.width() - w) / 2,
         avail.top() + (avail.height() - h - menu_h) / 2);
  }
}

void MainWindow::new_game() {
  nirvex::new_game(g);
  stop_timer();
  redraw_all();
  refresh();
}

void MainWindow::common_start_steps() {
  clear_sides();
  // The strips just cleared run under the end of the upper clock's text;
  // show both clocks whole again.
  draw_clock(g.upper_side, g.upper_time_total);
  draw_clock(g.lower_side, g.lower_time_total);
  erase_frames();
  draw_hand_upper();
  draw_hand_lower();
  g.pick_state = 0;
  g.kifu_mode = flag_off;
}

bool MainWindow::game_is_fresh() const {
  return g.turn == side_none || g.move_number == 0;
}

void MainWindow::START_Click() {
  common_start_steps();
  draw_picture(g.background_id, -2, 0);
  draw_picture(g.background_id, -1, 0);
  draw_picture(g.background_id, 0, 0);
  g.turn_start_time = now();
  if (keika_checked()) start_timer();
  g.play_mode = mode_two_players;
  refresh();
  if (game_is_fresh()) {
    g.lower_side = g.first_side;
    g.upper_side = g.second_side;
    g.turn = g.first_side;
    message(QStringLiteral("先手の番です"), QStringLiteral(" "));
  } else if (g.turn == g.first_side) {
    message(QStringLiteral("先手の番です"), QStringLiteral(" "));
  } else if (g.turn == g.second_side) {
    message(QStringLiteral("後手の番です"), QStringLiteral(" "));
  }
  g.announce_pending = flag_off;
}

void MainWindow::SENTE_Click() {
  common_start_steps();
  draw_level(g.level);
  g.play_mode = mode_vs_computer;
  g.record_len = g.move_number;
  g.turn_start_time = now();
  start_timer();
  refresh();
  if (game_is_fresh()) {
    g.lower_side = g.first_side;
    g.upper_side = g.second_side;
    g.turn = g.first_side;
    message(QStringLiteral("MANの番です"), QStringLiteral(" "));
  } else if (g.turn == g.lower_side) {
    g.lower_side = g.first_side;
    g.upper_side = g.second_side;
    g.turn = g.first_side;
    message(QStringLiteral("MANの番です"), QStringLiteral("対局"));
  } else if (g.turn == g.upper_side) {
    com_ban();
  }
  g.announce_pending = flag_off;
}

void MainWindow::GOTE_Click() {
  common_start_steps();
  draw_level(g.level);
  start_timer();
  g.play_mode = mode_vs_computer;
  g.record_len = g.move_number;
  refresh();
  if (game_is_fresh()) {
    g.lower_side = g.second_side;
    g.upper_side = g.first_side;
    g.turn = g.first_side;
    com_ban();
  } else if (g.turn == g.lower_side) {
    message(QStringLiteral("MANの番です"), QStringLiteral("対局"));
  } else if (g.turn == g.upper_side) {
    com_ban();
  }
  g.announce_pending = flag_off;
}

void MainWindow::LEVEL_Click(int level) {
  draw_picture(g.background_id, -2, 0);
  draw_picture(g.background_id, -1, 0);
  draw_picture(g.background_id, 0, 0);
  set_level(level);
  refresh();
}

void MainWindow::set_level(int level) {
  for (int i = 1; i <= 3; ++i)
    menu_item(QStringLiteral("LEVEL%1").arg(i))->setChecked(i == level);
  g.level = level;
  if (g.play_mode == mode_vs_computer) draw_level(g.level);
}

void MainWindow::announce_winner(const QString& name) {
  refresh();
  message(name + QStringLiteral("の勝ちです"), QStringLiteral("終了"));
  if (ask(QStringLiteral("続けますか？"), QStringLiteral("再ゲーム")) == MsgAnswer::yes) {
    new_game();
  } else {
    shut_down();
    end_program();
  }
}

void MainWindow::shut_down() {
  if (sounds_released_) return;
  sounds_released_ = true;
  stop_timer();
  if (!platform_.sound) return;
  platform_.sound->dsFree(snd_other);
  platform_.sound->dsFree(snd_forbidden);
  platform_.sound->dsFree(snd_piece);
  platform_.sound->dsFree(snd_bgm);
  if (sound_device != 0) platform_.sound->dsTerminate(sound_device);
}

void MainWindow::end_program() {
  if (program_ended) return;
  program_ended = true;
  if (platform_.end_program) platform_.end_program();
}

void MainWindow::OWARI_Click() {
  shut_down();
  end_program();
}

void MainWindow::Form_KeyPress(int key_ascii) {
  if (key_ascii != 27) return;
  shut_down();
  end_program();
}

// Menus and message boxes grow with the window, so that they keep their
// proportion to the board as a larger window shows it.
void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const double scale = view_->target_rect().width() / (surface_width_twips / 15.0);
  const int pixels = std::clamp(static_cast<int>(std::lround(9.5 * scale)), 12, 22);
  QFont font = QApplication::font();
  if (font.pixelSize() == pixels) return;
  font.setPixelSize(pixels);
  QApplication::setFont(font);
}

// Keys reach the window from every control on it that leaves them unused.
void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    Form_KeyPress(27);
  else
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  shut_down();
  end_program();
  event->accept();
}

void MainWindow::refresh() {
  if (view_) view_->repaint();
}

}  // namespace nirvex
