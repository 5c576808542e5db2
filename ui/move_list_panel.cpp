#include "ui/move_list_panel.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

#include "ui/move_list_model.h"

namespace nirvex {

MoveListPanel::MoveListPanel(MoveListModel& model, QWidget* parent)
    : QTableView(parent), model_(model) {
  setObjectName(QStringLiteral("MoveList"));
  setModel(&model);
  setFocusPolicy(Qt::NoFocus);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalHeader()->hide();
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionResizeMode(MoveListModel::number_column,
                                           QHeaderView::ResizeToContents);
  horizontalHeader()->setSectionResizeMode(MoveListModel::move_column, QHeaderView::Stretch);
  horizontalHeader()->setSectionResizeMode(MoveListModel::time_column,
                                           QHeaderView::ResizeToContents);
  connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
    if (on_row_chosen) on_row_chosen(index.row());
    show_current();  // also when the step was refused
  });
  connect(&model, &MoveListModel::current_row_changed, this, [this] { show_current(); });
}

void MoveListPanel::show_current() {
  const QModelIndex index = model_.index(model_.current_row(), MoveListModel::move_column);
  selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(index);
}

int MoveListPanel::wanted_width() const {
  const QFontMetrics fm(font());
  // "500", "▲５五銀成打" and "12:34" with room around each.
  return fm.horizontalAdvance(QStringLiteral("5000")) +
         fm.horizontalAdvance(QStringLiteral("▲５五銀成打")) +
         fm.horizontalAdvance(QStringLiteral("12:345")) + 4 * fm.averageCharWidth() +
         verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
}

// Rows as tall as the font, however the window's font grows.
void MoveListPanel::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange)
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

}  // namespace nirvex
