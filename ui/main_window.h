// The main window: a thin shell around the game flow.  It carries the menu
// bar, the painted board area (the back buffer, shown scaled), Timer1, the
// record panel and the message boxes, and hands every menu command, click,
// key and tick to the flow's procedures over the one game object.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <functional>

#include "ui/canvas.h"
#include "ui/file_stores.h"
#include "ui/flow/form.h"
#include "ui/flow/game.h"
#include "ui/flow/outside_engine.h"
#include "ui/flow/record_analysis.h"
#include "ui/platform.h"

class QAction;
class QMenu;

namespace nirvex {

class AnalysisPanel;
class BoardView;
class DragPiece;
class MoveListModel;
class MoveListPanel;
class QtEngineProcess;
class RecordPanel;

class MainWindow : public QMainWindow, public Form {
  Q_OBJECT

 public:
  explicit MainWindow(const Platform& platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The game object; g is its GameState.
  Game game;
  GameState& g = game.g;
  Canvas canvas;

  // Program start, then the window's place on the screen.
  void Form_Load();

  // A menu item by its name ("START", "LEVEL3", "KEIKA", ...).
  QAction* menu_item(const QString& name) const;
  QMenu* menu(const QString& name) const;
  BoardView* board_view() const { return view_; }
  // The record panel, made the first time it is needed.
  RecordPanel* record_panel();
  MoveListPanel* move_list() const { return list_; }
  MoveListModel* move_list_model() const { return list_model_; }
  DragPiece* drag_piece() const { return drag_; }
  QtEngineProcess* engine_process() const { return engine_; }
  AnalysisPanel* analysis_panel() const { return analysis_; }
  QtEngineProcess* analysis_process() const { return analyser_; }
  bool program_ended() const { return game.program_ended; }

  // ---- Help and about. ----
  void KAISETU_Click();
  void VER_Click();
  QString manual_path() const;
  QString home_page_address() const;

  // ---- "外部エンジン…": the dialog that chooses the outside engine. ----
  void GAIBU_Click();

  // ---- "棋譜解析": every move of the record judged by the engine. ----
  void KIFU_KAISEKI_Click();

  // ---- Position as SFEN text: copy to and paste from the clipboard. ----
  void SFEN_COPY_Click();
  void SFEN_PASTE_Click();

  // ---- Form: what the game flow asks of the window. ----
  void fill(int colour) override;
  void paint_picture(int id, double x, double y) override;
  void paint_frame(int colour, double left, double top, double right, double bottom) override;
  void paint_tint(int colour, double left, double top, double right, double bottom) override;
  void print_text(double x, double y, const std::string& text, int colour, int size,
                  bool bold) override;
  void refresh() override;
  MsgAnswer message(const std::string& text, const std::string& title, MsgButtons buttons,
                    MsgIcon icon) override;
  void start_timer() override;
  void stop_timer() override;
  bool timer_running() const override;
  double now() override;
  LocalDateTime date_time() override;
  void pause(double seconds) override;
  bool checked(std::string_view item) const override;
  void set_checked(std::string_view item, bool on) override;
  void show_file_lists(bool drives, bool dirs, bool files) override;
  void show_name_panel(int mode) override;
  std::string text_field(int number) const override;
  std::string record_folder() const override;
  std::intptr_t window_handle() const override;
  void end_program() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build_menus();
  // The board view with the move list and the analysis at its right, and
  // the drag's piece.
  void build_board_side();
  // The list and the analysis show while "棋譜表示" carries its check
  // mark, the analysis only when it has something to show.
  void show_side_panel();
  // Opens "外部エンジン…"; true when the player chose an engine there.  For
  // the analysis alone (to_play false) the engine does not start playing.
  bool choose_engine_in_dialog(bool to_play);
  // An engine that plays this game for the analysis: the one chosen, else
  // one the player chooses now.  Its name, or empty when there is none.
  QString analysis_engine();
  // The font of the menus, boxes and the move list for a painted area
  // this wide (pixels); the list takes the width it needs for it.
  void fit_font(double painted_width);
  QAction* add_item(QMenu* parent, const QString& name, const QString& caption,
                    bool checkable = false);
  QAction* add_checkable(QMenu* parent, const QString& name, const QString& caption,
                         std::function<void()> handler);
  QMenu* add_menu(QMenu* parent, const QString& name, const QString& caption);
  // Connects a menu item to a flow procedure.
  void on(QAction* item, std::function<void()> handler);
  // Says that the browser could not start, naming the page it was to show.
  void browser_failed(const QString& page, const std::string& title);

  Platform platform_;
  IniSettingsStore settings_store_;
  RecordFileStore record_store_;
  PlayListener play_listener_{game};
  AnalysisListener analysis_listener_{game};
  BoardView* view_ = nullptr;
  RecordPanel* panel_ = nullptr;
  QString start_folder_;  // where the record panel's lists start
  MoveListModel* list_model_ = nullptr;
  MoveListPanel* list_ = nullptr;
  DragPiece* drag_ = nullptr;
  QPointF press_point_;  // where the last press was, in view pixels
  QtEngineProcess* engine_ = nullptr;
  QtEngineProcess* analyser_ = nullptr;
  AnalysisPanel* analysis_ = nullptr;
  AnalysisLimit analysis_limit_;  // the last choice of the analysis's dialog
  QTimer* timer1_ = nullptr;
  QHash<QString, QAction*> items_;
  QHash<QString, QMenu*> menus_;
};

}  // namespace nirvex
