// The game's moves as a Qt table model, fed by the game flow: one row for
// the start position and one per record entry, and the row of the
// position the board shows.  The columns are named so that more (an
// engine's judgement, say) can join them.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "ui/flow/ports.h"

namespace nirvex {

class MoveListModel : public QAbstractTableModel, public MoveListView {
  Q_OBJECT

 public:
  enum Column { number_column, move_column, time_column, column_count };

  explicit MoveListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // ---- MoveListView: what the flow tells. ----
  void rows_changed(int first, const std::vector<MoveListRow>& rows) override;
  void position_changed(int moves) override;

  // The table row of the position the board shows (0: the start).
  int current_row() const { return current_; }
  // A record entry's row as told (row 1 is the first move).
  const MoveListRow& entry(int row) const { return rows_[row - 1]; }

 signals:
  // The board now shows the position of this table row.
  void current_row_changed(int row);

 private:
  std::vector<MoveListRow> rows_;
  int current_ = 0;
};

// The time a move took as the list shows it: "0:07", "12:40", "1:02:03".
QString move_time_text(double seconds);

}  // namespace nirvex
