// The move list beside the board: the model's rows in a table that takes
// no keyboard focus (the keys step the game, as the menu does), with the
// analysis's columns while there are results.  The row
// of the position on the board is selected; a click on a row asks for
// that position.
#pragma once

#include <QTableView>
#include <functional>

namespace nirvex {

class MoveListModel;

class MoveListPanel : public QTableView {
  Q_OBJECT

 public:
  MoveListPanel(MoveListModel& model, QWidget* parent = nullptr);

  // A row was clicked: the position after that many moves is wanted.
  std::function<void(int row)> on_row_chosen;

  // Selects the row of the position on the board and scrolls to it.
  void show_current();
  // The width that shows every column at this font.
  int width_for(const QFont& font) const;
  // After rows came or went at the end, only the rows from there on are
  // painted anew; anything else lays the whole list out again.
  void doItemsLayout() override;

 protected:
  void changeEvent(QEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

 private:
  // The width a column needs at this font.
  static int column_width(int column, const QFont& font);
  // Columns, rows and the list's width sized for its present font.
  void fit_to_font();
  // The analysis's mark and evaluation columns show only while it has
  // results for the record.
  void show_analysis_columns(bool shown);
  // Rows from `row` on are to be painted at the next layout.
  void note_rows_changed_from(int row);

  MoveListModel& model_;
  int rows_changed_from_ = -1;  // the first row that came or went since the last layout
};

}  // namespace nirvex
