// The record panel: drive, folder and file lists for loading a game record,
// and the name fields with "RETURN" for saving one.  Its controls stand on
// the board view at their twip positions and follow it when the window is
// resized; the panel itself covers only the controls that show, so clicks
// beside them reach the board.  What a click on a file or on "RETURN"
// does is the game flow's.  The window makes it when it is first needed.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace nirvex {

class BoardView;
struct Game;

class RecordPanel : public QWidget {
  Q_OBJECT

 public:
  // The lists start at `folder`.
  RecordPanel(Game& game, BoardView* view, const QString& folder);

  QComboBox* Drive1 = nullptr;
  QTreeWidget* Dir1 = nullptr;
  QListWidget* File1 = nullptr;
  QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
  QLabel* Label1[4] = {};
  QPushButton* Command1 = nullptr;

  // Visibility of Drive1, Dir1 and File1; the file list is read afresh
  // when it comes into view.
  void show_file_lists(bool drives, bool dirs, bool files);
  // 0 shows the name panel with its texts; any other value empties the
  // four text boxes and hides it.
  void show_name_panel(int mode);
  // The text of Text1 .. Text4.
  std::string text_field(int number) const;
  // Folder shown by Dir1 and listed by File1 (where records are saved).
  QString dir1_path() const { return dir1_path_; }

  // The drive list's choice (a folder path) and the directory list's.
  void Drive1_Change(const QString& drive);
  void Dir1_Change(const QString& path);
  // A file of the list, by name.
  void File1_Click(const QString& file_name);
  void Command1_Click();

  // Puts the controls on the board view at their twip positions.
  void place();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void fill_drive_list();
  void fill_dir_list();
  void fill_file_list();
  // The panel covers just the controls that show.
  void cover_visible_controls();
  // While the player has chosen no folder, the lists open on the kept
  // games for reading (when there are any), else on the start folder.
  void open_default_folder(bool reading);

  Game& game_;
  BoardView* view_;
  QString dir1_path_;
  QString start_path_;
  bool folder_chosen_ = false;
  bool placed_ = false;  // placed for the board view's size
};

}  // namespace nirvex
