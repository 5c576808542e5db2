// The main window: it owns the one game object and carries the menu bar,
// the painted board area and the turn timer.  Its procedures are the game
// flow (start, menus, exit), the mouse input on the board, the painting of
// board, hands and texts, and the clocks and move guidance.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <functional>

#include "engine/analysis.h"
#include "engine/computer_state.h"
#include "model/game_state.h"
#include "settings/settings_file.h"
#include "ui/canvas.h"
#include "ui/platform.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTreeWidget;

namespace nirvex {

class BoardView;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(const Platform& platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  // ---- The game object and what tests and tools may look at. ----
  GameState g;
  Analysis analysis;  // square maps and the computer's position tests
  ComputerState computer;  // the computer's turn: root copies, best move
  Canvas canvas;
  QString start_dir;
  int sound_device = 0;
  int snd_other = 0, snd_forbidden = 0, snd_piece = 0, snd_bgm = 0;
  bool program_ended = false;

  // A menu item by its name ("START", "LEVEL3", "KEIKA", ...).
  QAction* menu_item(const QString& name) const;
  QMenu* menu(const QString& name) const;
  BoardView* board_view() const { return view_; }
  bool timer_running() const;

  // ---- Game flow. ----
  void Form_Load();
  void START_Click();
  void SENTE_Click();
  void GOTE_Click();
  void LEVEL_Click(int level);
  void set_level(int level);
  void OWARI_Click();
  void Form_KeyPress(int key_ascii);
  void announce_winner(const QString& name);
  void shut_down();
  void end_program();
  void new_game();

  // ---- Board input. ----
  // A mouse press at (x, y) twips of the painted area; button 1 left,
  // 2 right, 4 middle.
  void Form_MouseDown(int button, double x, double y);

  // ---- Painting (cell positions, see Canvas). ----
  void draw_picture(int id, double x, double y);
  void draw_frame(int colour, double col, double row);
  void erase_frames();
  void draw_text(double x, double y, int number, int colour, int style,
                 int size);
  void draw_text(double x, double y, const QString& text, int colour,
                 int style, int size);
  void draw_cell_text(double x, double y, const QString& text, int colour);
  static QString piece_text(int number);
  void draw_backdrop(int background);
  void draw_labels();
  void draw_board();
  void draw_hand_lower();
  void draw_hand_upper();
  void draw_move_number(int n);
  void draw_level(int level);
  void draw_last_move(int side, int col, int row, PieceCode code, int colour);
  void clear_last_move(int side);
  void clear_sides();
  void redraw_all();
  void mark_background_menu(int background);
  static double centre_x(const QString& text);
  // Moves a piece in the model and repaints the squares and hands it changed.
  MoveChanges apply_move(int from_col, int from_row, int to_col, int to_row,
                         PieceCode piece);
  // Shows the back buffer on screen now.
  void refresh();

  // ---- Clocks and guidance. ----
  void Timer1_Timer();
  void start_timer();
  void stop_timer();
  void draw_clock(int side, double seconds);
  void clear_clock(int side);
  void KEIKA_Click();
  void SIDOU_Click();
  void show_guidance(int from_col, int from_row, int colour, PieceCode piece);
  void pause_seconds(double seconds);
  double now() const;
  bool keika_checked() const;

  // ---- Sound. ----
  void sound_init();
  int load_wave(const QString& name, int flags);
  void play(int buffer);
  void BGM_Click();

  // ---- Settings. ----
  void read_settings();
  void write_settings();
  void background_Click(int background);
  void apply_default_settings(bool with_background);
  SettingsValues checked_settings() const;

  // ---- Help and about. ----
  void KAISETU_Click();
  void VER_Click();
  QString manual_path() const;
  QString home_page_address() const;

  // ---- Record panel (opened by the record menu). ----
  void show_file_lists(bool drives, bool dirs, bool files);
  void show_name_panel(int mode);
  void KIFU_READ_Click();
  void KIFU_WRITE_Click();
  // The drive list's choice (a folder path) and the directory list's.
  void Drive1_Change(const QString& drive);
  void Dir1_Change(const QString& path);
  void File1_Click(const QString& file_name);
  void Command1_Click();
  // Folder shown by Dir1 and listed by File1 (where records are saved).
  QString dir1_path() const { return dir1_path_; }
  QComboBox* Drive1 = nullptr;
  QTreeWidget* Dir1 = nullptr;
  QListWidget* File1 = nullptr;
  QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
  QLabel* Label1[4] = {};
  QPushButton* Command1 = nullptr;
  // Puts the panel's controls on the board view at their twip positions.
  void place_record_panel();
  // Position as SFEN text: copy to and paste from the clipboard.
  void SFEN_COPY_Click();
  void SFEN_PASTE_Click();

  // ---- Stepping through the record, and the flip. ----
  void AFTER_Click();
  void REPLAY_Click();
  void CANCEL_Click();
  void REVERSE_Click();

  // ---- The computer's turn. ----
  void com_ban();
  // Rebuilds the square maps and tests whether the computer's king is mated.
  bool computer_king_mated();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_menus();
  QAction* add_item(QMenu* parent, const QString& name, const QString& caption,
                    bool checkable = false);
  QAction* add_checkable(QMenu* parent, const QString& name,
                         const QString& caption, std::function<void()> handler);
  QMenu* add_menu(QMenu* parent, const QString& name, const QString& caption);
  void common_start_steps();
  bool game_is_fresh() const;
  void message(const QString& text, const QString& title);
  MsgAnswer ask(const QString& text, const QString& title);
  void refuse_full_record();
  void board_click(int button, int col, int row);
  void outside_click(int col, int row);
  void make_human_move(int button);

  Platform platform_;
  BoardView* view_ = nullptr;
  QTimer* timer1_ = nullptr;
  QHash<QString, QAction*> items_;
  QHash<QString, QMenu*> menus_;
  bool sounds_released_ = false;
  // Record panel state: the folder of Dir1/File1, and whether the position
  // on the board was pasted (then, as after a flip, it cannot be saved).
  void build_record_panel();
  void fill_drive_list();
  void fill_dir_list();
  void fill_file_list();
  void print_record_header(const QString& text, double y_twips, int colour);
  QString dir1_path_;
  bool position_pasted_ = false;
};

}  // namespace nirvex
