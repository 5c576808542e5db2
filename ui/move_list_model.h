// The game's moves as a Qt table model, fed by the game flow: one row for
// the start position and one per record entry, and the row of the
// position the board shows.  While the record analysis has results for
// the record, each row also carries its mark and the evaluation after it.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "ui/flow/ports.h"

namespace nirvex {

class MoveListModel : public QAbstractTableModel, public MoveListView {
  Q_OBJECT

 public:
  enum Column {
    number_column,
    move_column,
    mark_column,        // the analysis's mark: "疑問手", "悪手", "大悪手"
    evaluation_column,  // the evaluation after the move, from the bottom side's view
    time_column,
    column_count
  };

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

  // The analysis's results for the record; empty ones take the marks and
  // evaluations away.
  void set_analysis(const AnalysisResults& results);
  // Are there results to show in the rows?
  bool has_analysis() const { return !analysis_.positions.empty(); }

 signals:
  // The board now shows the position of this table row.
  void current_row_changed(int row);
  // Results came or went: the analysis's columns show or hide.
  void analysis_shown(bool shown);

 private:
  // The analysis's text of a row's cell in its columns.
  QVariant analysis_data(int row, int column, int role) const;

  std::vector<MoveListRow> rows_;
  int current_ = 0;
  AnalysisResults analysis_;
};

// The time a move took as the list shows it: "0:07", "12:40", "1:02:03".
QString move_time_text(double seconds);

}  // namespace nirvex
