#include "ui/move_list_model.h"

#include <cmath>

#include "ui/analysis_text.h"
#include "ui/flow/move_judgement.h"

namespace nirvex {

MoveListModel::MoveListModel(QObject* parent) : QAbstractTableModel(parent) {}

int MoveListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

int MoveListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : column_count;
}

QVariant MoveListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  if (role == Qt::TextAlignmentRole) {
    if (index.column() == move_column) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (index.column() == mark_column) return QVariant(Qt::AlignCenter);
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (index.column() == mark_column || index.column() == evaluation_column)
    return analysis_data(row, index.column(), role);
  if (role != Qt::DisplayRole) return {};
  if (row == 0) return index.column() == move_column ? QStringLiteral("開始局面") : QString();
  const MoveListRow& r = entry(row);
  switch (index.column()) {
    case number_column: return QString::number(r.number);
    case move_column: return QString::fromStdString(r.side + r.move);
    case time_column: return move_time_text(r.seconds);
    default: return {};
  }
}

QVariant MoveListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case number_column: return QStringLiteral("手数");
    case move_column: return QStringLiteral("指し手");
    case mark_column: return QStringLiteral("判定");
    case evaluation_column: return QStringLiteral("評価値");
    case time_column: return QStringLiteral("時間");
    default: return {};
  }
}

void MoveListModel::rows_changed(int first, const std::vector<MoveListRow>& rows) {
  const int old_count = static_cast<int>(rows_.size());
  // Table rows are one further down than entries: row 0 is the start.
  if (first < old_count) {
    beginRemoveRows({}, first + 1, old_count);
    rows_.resize(first);
    endRemoveRows();
  }
  if (!rows.empty()) {
    beginInsertRows({}, first + 1, first + static_cast<int>(rows.size()));
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    endInsertRows();
  }
}

QVariant MoveListModel::analysis_data(int row, int column, int role) const {
  if (column == evaluation_column) {
    if (role != Qt::DisplayRole || row >= static_cast<int>(analysis_.positions.size())) return {};
    return evaluation_label(analysis_.positions[row].evaluation);
  }
  if (row < 1 || row > static_cast<int>(analysis_.moves.size())) return {};
  const MoveMark mark = analysis_.moves[row - 1].mark;
  if (role == Qt::DisplayRole) return QString::fromStdString(mark_word(mark));
  if (role == Qt::ForegroundRole && mark != MoveMark::none) return mark_colour(mark);
  return {};
}

void MoveListModel::set_analysis(const AnalysisResults& results) {
  const bool was_shown = has_analysis();
  analysis_ = results;
  emit dataChanged(index(0, mark_column), index(rowCount() - 1, evaluation_column));
  if (has_analysis() != was_shown) emit analysis_shown(has_analysis());
}

void MoveListModel::position_changed(int moves) {
  current_ = moves;
  emit current_row_changed(moves);
}

QString move_time_text(double seconds) {
  const long long s = std::max(0LL, std::llround(std::floor(seconds)));
  if (s >= 3600)
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
  return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace nirvex
