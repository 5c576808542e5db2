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
#include "ui/platform.h"

class QAction;
class QMenu;

namespace nirvex {

class BoardView;
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
  QtEngineProcess* engine_process() const { return engine_; }
  bool program_ended() const { return game.program_ended; }

  // ---- Help and about. ----
  void KAISETU_Click();
  void VER_Click();
  QString manual_path() const;
  QString home_page_address() const;

  // ---- "外部エンジン…": the dialog that chooses the outside engine. ----
  void GAIBU_Click();

  // ---- Position as SFEN text: copy to and paste from the clipboard. ----
  void SFEN_COPY_Click();
  void SFEN_PASTE_Click();

  // ---- Form: what the game flow asks of the window. ----
  void fill(int colour) override;
  void paint_picture(int id, double x, double y) override;
  void paint_frame(int colour, double left, double top, double right, double bottom) override;
  void print_text(double x, double y, const std::string& text, int colour, int size,
                  bool bold) override;
  void refresh() override;
  MsgAnswer message(const std::string& text, const std::string& title, MsgButtons buttons,
                    MsgIcon icon) override;
  void start_timer() override;
  void stop_timer() override;
  bool timer_running() const override;
  double now() override;
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
  QAction* add_item(QMenu* parent, const QString& name, const QString& caption,
                    bool checkable = false);
  QAction* add_checkable(QMenu* parent, const QString& name, const QString& caption,
                         std::function<void()> handler);
  QMenu* add_menu(QMenu* parent, const QString& name, const QString& caption);
  // Connects a menu item to a flow procedure.
  void on(QAction* item, std::function<void()> handler);

  Platform platform_;
  IniSettingsStore settings_store_;
  RecordFileStore record_store_;
  BoardView* view_ = nullptr;
  RecordPanel* panel_ = nullptr;
  QString start_folder_;  // where the record panel's lists start
  QtEngineProcess* engine_ = nullptr;
  QTimer* timer1_ = nullptr;
  QHash<QString, QAction*> items_;
  QHash<QString, QMenu*> menus_;
};

}  // namespace nirvex
