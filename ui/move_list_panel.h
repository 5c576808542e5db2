// The move list beside the board: the model's rows in a table that takes
// no keyboard focus (the keys step the game, as the menu does).  The row
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
  // The width that shows every column at the present font.
  int wanted_width() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // The width a column needs at the present font.
  int column_width(int column) const;
  // Columns and rows sized for the present font.
  void fit_columns();

  MoveListModel& model_;
};

}  // namespace nirvex
