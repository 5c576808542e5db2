// The window around the game flow: the menu bar, the back buffer and its
// view, Timer1, message boxes and the start-up placement.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ui/analysis_panel.h"
#include "ui/board_view.h"
#include "ui/drag_piece.h"
#include "ui/engine_dialog.h"
#include "ui/engine_process.h"
#include "ui/flow/autosave.h"
#include "ui/flow/board_input.h"
#include "ui/flow/clocks.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/program.h"
#include "ui/flow/start_commands.h"
#include "ui/flow/stepping.h"
#include "ui/move_list_model.h"
#include "ui/move_list_panel.h"
#include "ui/record_panel.h"

namespace nirvex {

MainWindow::MainWindow(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  game.form = this;
  game.sound = platform_.sound;
  game.settings = &settings_store_;
  game.records = &record_store_;

  // Games are kept beside the settings file, in the folder the game runs in.
  game.autosave_folder =
      QDir::current().absoluteFilePath(QString::fromUtf8(autosave_folder_name)).toStdString();

  setWindowTitle(QStringLiteral("Nirvex将棋"));
  build_board_side();
  start_folder_ = QDir::currentPath();
  engine_ = new QtEngineProcess(play_listener_, this);
  game.engine_process = engine_;
  analyser_ = new QtEngineProcess(analysis_listener_, this);
  game.analysis_process = analyser_;

  timer1_ = new QTimer(this);
  timer1_->setInterval(50);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(game); });

  build_menus();
}

MainWindow::~MainWindow() { shut_down(game); }

void MainWindow::build_board_side() {
  auto* side = new QWidget(this);
  auto* grid = new QGridLayout(side);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  view_ = new BoardView(canvas, side);
  grid->addWidget(view_, 0, 0, 2, 1);
  grid->setColumnStretch(0, 1);
  list_model_ = new MoveListModel(this);
  list_ = new MoveListPanel(*list_model_, side);
  list_->hide();  // until "棋譜表示" carries its check mark
  grid->addWidget(list_, 0, 1);
  grid->setRowStretch(0, 1);
  analysis_ = new AnalysisPanel(*list_model_, side);
  analysis_->hide();
  grid->addWidget(analysis_, 1, 1);
  setCentralWidget(side);
  game.move_list = list_model_;
  game.analysis_view = analysis_;
  list_->on_row_chosen = [this](int row) { step_to_position(game, row); };
  analysis_->on_row_chosen = list_->on_row_chosen;
  analysis_->on_cancel = [this] { cancel_record_analysis(game); };
  analysis_->progress_source = [this] { return analysis_progress(game); };
  connect(analysis_, &AnalysisPanel::content_changed, this, [this] { show_side_panel(); });

  drag_ = new DragPiece(view_);
  view_->on_mouse_down = [this](int button, double x, double y) {
    press_point_ = view_->from_twips({x, y});
    Form_MouseDown(game, button, x, y);
  };
  view_->on_mouse_up = [this](int button, double x, double y) {
    drag_->drop();
    Form_MouseUp(game, button, x, y);
  };
  // The picked piece follows the pointer once it has moved a little.
  view_->on_drag = [this](QPointF pointer) {
    const PieceCode code = dragged_piece(game);
    if (code == empty_code) {
      drag_->drop();
    } else if (!drag_->isHidden() || (pointer - press_point_).manhattanLength() >=
                                         QApplication::startDragDistance()) {
      drag_->carry(code, pointer);
    }
  };
}


void MainWindow::show_side_panel() {
  const bool on = checked("KIFU_HYOUJI");
  list_->setVisible(on);
  analysis_->setVisible(on && analysis_->has_content());
}

void MainWindow::Form_Load() {
  nirvex::Form_Load(game);

  // Start at a comfortable size for the screen, keeping the board's
  // proportions; the painted area scales with the window from there.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    const int menu_h = menuBar()->sizeHint().height();
    int h = static_cast<int>(avail.height() * 0.85) - menu_h;
    int w = h * surface_width_twips / surface_height_twips;
    fit_font(w);
    // The move list, when shown, stands beside the painted area.
    const auto list_width = [this] {
      return list_->isHidden() ? 0 : list_->width_for(QApplication::font());
    };
    if (w + list_width() > avail.width() * 0.9) {
      w = static_cast<int>(avail.width() * 0.9) - list_width();
      h = w * surface_height_twips / surface_width_twips;
      fit_font(w);
    }
    w += list_width();
    resize(w, h + menu_h);
    move(avail.left() + (avail.width() - w) / 2,
         avail.top() + (avail.height() - h - menu_h) / 2);
  }
}

QAction* MainWindow::menu_item(const QString& name) const {
  if (items_.contains(name)) return items_.value(name);
  if (menus_.contains(name)) return menus_.value(name)->menuAction();
  return nullptr;
}

QMenu* MainWindow::menu(const QString& name) const { return menus_.value(name); }

RecordPanel* MainWindow::record_panel() {
  if (!panel_) panel_ = new RecordPanel(game, view_, start_folder_);
  return panel_;
}

// Opens the engine dialog; OK makes its engine the computer's player.
void MainWindow::GAIBU_Click() { choose_engine_in_dialog(true); }

bool MainWindow::choose_engine_in_dialog(bool to_play) {
  EngineDialog dialog(game.engine.choice, this);
  if (platform_.show_modal)
    platform_.show_modal(&dialog);
  else
    dialog.exec();
  if (dialog.result() != QDialog::Accepted) return false;
  choose_engine(game, dialog.choice(), to_play);
  return true;
}

// ---- Form ----

void MainWindow::fill(int colour) { canvas.fill(colour); }

void MainWindow::paint_picture(int id, double x, double y) { canvas.paint_picture(id, x, y); }

void MainWindow::paint_frame(int colour, double left, double top, double right, double bottom) {
  canvas.paint_frame(colour, left, top, right, bottom);
}

void MainWindow::paint_tint(int colour, double left, double top, double right, double bottom) {
  canvas.paint_tint(colour, left, top, right, bottom);
}

void MainWindow::print_text(double x, double y, const std::string& text, int colour, int size,
                            bool bold) {
  canvas.print_text(x, y, QString::fromStdString(text), colour, size, bold);
}

void MainWindow::refresh() {
  if (view_) view_->show_changes();
}

MsgAnswer MainWindow::message(const std::string& text, const std::string& title,
                              MsgButtons buttons, MsgIcon icon) {
  return platform_.dialogs->message(QString::fromStdString(text), QString::fromStdString(title),
                                    buttons, icon);
}

void MainWindow::start_timer() { timer1_->start(); }
void MainWindow::stop_timer() { timer1_->stop(); }
bool MainWindow::timer_running() const { return timer1_->isActive(); }
double MainWindow::now() { return platform_.clock->seconds_since_midnight(); }

LocalDateTime MainWindow::date_time() {
  const QDateTime t = QDateTime::currentDateTime();
  return {t.date().year(), t.date().month(), t.date().day(),
          t.time().hour(), t.time().minute(), t.time().second()};
}
void MainWindow::pause(double seconds) { platform_.clock->pause(seconds); }

bool MainWindow::checked(std::string_view item) const {
  const QAction* a = menu_item(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  return a && a->isChecked();
}

void MainWindow::set_checked(std::string_view item, bool on) {
  if (QAction* a = menu_item(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()))))
    a->setChecked(on);
}

// A panel not made yet shows nothing, and its text boxes are empty.
void MainWindow::show_file_lists(bool drives, bool dirs, bool files) {
  if (panel_ || drives || dirs || files) record_panel()->show_file_lists(drives, dirs, files);
}

void MainWindow::show_name_panel(int mode) {
  if (panel_ || mode == 0) record_panel()->show_name_panel(mode);
}

std::string MainWindow::text_field(int number) const {
  return panel_ ? panel_->text_field(number) : std::string();
}

std::string MainWindow::record_folder() const {
  return (panel_ ? panel_->dir1_path() : start_folder_).toStdString();
}

std::intptr_t MainWindow::window_handle() const { return static_cast<std::intptr_t>(winId()); }

void MainWindow::end_program() {
  if (platform_.end_program) platform_.end_program();
}

// ---- Window events ----

// Menus and message boxes grow with the window, so that they keep their
// proportion to the board as a larger window shows it.
void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  fit_font(view_->target_rect().width());
}

void MainWindow::fit_font(double painted_width) {
  const double scale = painted_width / (surface_width_twips / 15.0);
  const int pixels = std::clamp(static_cast<int>(std::lround(9.5 * scale)), 12, 22);
  QFont font = QApplication::font();
  const bool grows = font.pixelSize() != pixels;
  if (grows) {
    font.setPixelSize(pixels);
    QApplication::setFont(font);
    // The menu bar at its new height now, not after a first paint at the old.
    menuBar()->setFont(font);
  }
  // Item views may keep a font of their own class; the list and the
  // analysis under it follow ours.
  if (list_->font() != font) list_->setFont(font);
  if (analysis_->font() != font) analysis_->setFont(font);
  if (grows && layout()) layout()->activate();
}

// Keys reach the window from every control on it that leaves them unused.
// The arrows and Home take the road of "戻", "進" and "最初".
void MainWindow::keyPressEvent(QKeyEvent* event) {
  const char* item = nullptr;
  switch (event->key()) {
    case Qt::Key_Escape: Form_KeyPress(game, 27); return;
    case Qt::Key_Left: item = "REPLAY"; break;
    case Qt::Key_Right: item = "AFTER"; break;
    case Qt::Key_Home: item = "CANCEL"; break;
    default: break;
  }
  if (item && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
    menu_item(QString::fromLatin1(item))->trigger();
  else
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Form_Unload(game);
  event->accept();
}

}  // namespace nirvex
