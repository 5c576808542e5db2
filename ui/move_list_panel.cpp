#include "ui/move_list_panel.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "ui/move_list_model.h"
#include "ui/move_list_scroll_bar.h"

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
  setVerticalScrollBar(new MoveListScrollBar(Qt::Vertical, this));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalHeader()->hide();
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionResizeMode(MoveListModel::move_column, QHeaderView::Stretch);
  show_analysis_columns(model.has_analysis());
  connect(&model, &MoveListModel::analysis_shown, this,
          [this](bool shown) { show_analysis_columns(shown); });
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

// The widest texts of each column with a little room: "500", "▲５五銀成打",
// "大悪手", "-12345" and "59:59".
int MoveListPanel::column_width(int column, const QFont& font) {
  const QFontMetrics fm(font);
  static const char* const widest[MoveListModel::column_count] = {"500", "▲５五銀成打", "大悪手",
                                                                  "-12345", "59:59"};
  return fm.horizontalAdvance(QString::fromUtf8(widest[column])) + 2 * fm.averageCharWidth();
}

int MoveListPanel::width_for(const QFont& font) const {
  int width = verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
  for (int c = 0; c < MoveListModel::column_count; ++c)
    if (!isColumnHidden(c)) width += column_width(c, font);
  return width;
}

void MoveListPanel::fit_to_font() {
  horizontalHeader()->resizeSection(MoveListModel::number_column,
                                    column_width(MoveListModel::number_column, font()));
  for (int c : {MoveListModel::mark_column, MoveListModel::evaluation_column,
                MoveListModel::time_column})
    horizontalHeader()->resizeSection(c, column_width(c, font()));
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setFixedWidth(width_for(font()));
}

void MoveListPanel::show_analysis_columns(bool shown) {
  setColumnHidden(MoveListModel::mark_column, !shown);
  setColumnHidden(MoveListModel::evaluation_column, !shown);
  fit_to_font();
}

// Rows from `row` on are to be painted at the next layout.
void MoveListPanel::note_rows_changed_from(int row) {
  rows_changed_from_ = rows_changed_from_ < 0 ? row : std::min(rows_changed_from_, row);
}

// New rows: they and the rows below them are painted anew.
void MoveListPanel::rowsInserted(const QModelIndex& parent, int start, int end) {
  QTableView::rowsInserted(parent, start, end);
  if (!parent.isValid()) note_rows_changed_from(start);
}

// Rows going: the rows from their place on are painted anew.
void MoveListPanel::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
  QTableView::rowsAboutToBeRemoved(parent, start, end);
  if (!parent.isValid()) note_rows_changed_from(start);
}

// The rows above the first that changed are as they were: the scroll bar
// and the headers take the new count, the pixels of the rows shown move
// with them if that moved them (a list kept at its end), and the rows
// from the first that changed are painted.
void MoveListPanel::doItemsLayout() {
  const int from = rows_changed_from_;
  rows_changed_from_ = -1;
  if (from < 0 || !isVisible()) {
    QTableView::doItemsLayout();
    return;
  }
  const int offset = verticalOffset();
  updateGeometries();
  if (!verticalHeader()->updatesEnabled()) verticalHeader()->setUpdatesEnabled(true);
  // The new count may move the rows shown: the pixels follow them.
  if (verticalOffset() != offset) viewport()->scroll(0, offset - verticalOffset());
  const int top = std::max(0, rowViewportPosition(std::min(from, model_.rowCount() - 1)));
  if (top < viewport()->height())
    viewport()->update(QRect(0, top, viewport()->width(), viewport()->height() - top));
}

// The list follows the font, however the window's font grows.
void MoveListPanel::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) fit_to_font();
}

}  // namespace nirvex
