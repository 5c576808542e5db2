#include "ui/analysis_panel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/analysis_text.h"
#include "ui/graph_view.h"
#include "ui/flow/move_judgement.h"
#include "ui/move_list_model.h"

namespace nirvex {

namespace {

// How often the time left is counted down while the engine thinks.
constexpr int tick_ms = 500;

// A summary's row: the side's name and its marks' counts and average loss.
QString summary_row(const QString& name, const SideSummary& side) {
  const auto cell = [](int n) { return QStringLiteral("<td align=right>%1</td>").arg(n); };
  return QStringLiteral("<tr><td>%1</td>").arg(name.toHtmlEscaped()) + cell(side.dubious) +
         cell(side.bad) + cell(side.blunders) +
         cell(static_cast<int>(std::lround(side.average_loss_cp))) + QStringLiteral("</tr>");
}

// A heading of the summary in its mark's colour.
QString mark_heading(MoveMark mark) {
  return QStringLiteral("<th style=\"color:%1\">%2</th>")
      .arg(mark_colour(mark).name(), QString::fromStdString(mark_word(mark)));
}

}  // namespace

AnalysisPanel::AnalysisPanel(MoveListModel& list, QWidget* parent)
    : QWidget(parent), list_(list) {
  setObjectName(QStringLiteral("AnalysisPanel"));
  judgement_ = new QLabel(this);
  judgement_->setObjectName(QStringLiteral("judgement"));
  judgement_->setFrameShape(QFrame::StyledPanel);
  judgement_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  judgement_->setTextFormat(Qt::PlainText);
  judgement_->setMargin(4);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("summary"));
  summary_->setTextFormat(Qt::RichText);
  summary_->setMargin(2);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setTextVisible(true);
  progress_->setAlignment(Qt::AlignCenter);
  cancel_ = new QPushButton(QStringLiteral("中止"), this);
  cancel_->setFocusPolicy(Qt::NoFocus);
  progress_row_ = new QWidget(this);
  auto* row = new QHBoxLayout(progress_row_);
  row->setContentsMargins(0, 2, 0, 2);
  row->addWidget(progress_, 1);
  row->addWidget(cancel_);
  progress_->setParent(progress_row_);
  cancel_->setParent(progress_row_);

  column_ = new QVBoxLayout(this);
  column_->setContentsMargins(0, 0, 0, 0);
  column_->setSpacing(2);
  column_->addWidget(judgement_);
  column_->addWidget(summary_);
  column_->addWidget(progress_row_);

  ticker_ = new QTimer(this);
  ticker_->setInterval(tick_ms);
  connect(ticker_, &QTimer::timeout, this, [this] {
    if (progress_source) show_progress(progress_source());
  });
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (on_cancel) on_cancel();
  });
  connect(&list_, &MoveListModel::current_row_changed, this, [this](int r) { show_row(r); });
  QEvent font_change(QEvent::FontChange);
  changeEvent(&font_change);
  show_analysis({});
}

bool AnalysisPanel::has_content() const {
  return shown_.running || !shown_.results.positions.empty();
}

void AnalysisPanel::show_analysis(const AnalysisShown& shown) {
  const bool had_content = has_content();
  shown_ = shown;
  list_.set_analysis(shown.results);
  const bool results = !shown.results.positions.empty();
  judgement_->setVisible(results);
  if (results || shown.running) {
    if (GraphView* graph = graph_to_show()) graph->widget()->show();
  } else if (graph_) {
    graph_->widget()->hide();
  }
  progress_row_->setVisible(shown.running);
  if (shown.running)
    ticker_->start();
  else
    ticker_->stop();
  show_progress(shown.progress);
  show_graph();
  show_summary();
  show_row(list_.current_row());
  if (has_content() != had_content) emit content_changed();
}

void AnalysisPanel::show_progress(const AnalysisProgress& progress) {
  progress_->setRange(0, std::max(1, progress.total));
  progress_->setValue(std::min(progress.done, std::max(1, progress.total)));
  progress_->setFormat(progress_text(progress));
}

// Between the judgement and the summary, taking the room they leave.
GraphView* AnalysisPanel::graph_to_show() {
  if (graph_) return graph_;
  std::vector<GraphView::Mark> marks;
  for (MoveMark m : {MoveMark::dubious, MoveMark::bad, MoveMark::blunder})
    marks.push_back({m, QString::fromStdString(mark_word(m)), mark_colour(m)});
  graph_ = graph_maker ? graph_maker(this, marks) : nullptr;
  if (!graph_) return nullptr;
  graph_->on_chosen = [this](int x) {
    if (on_row_chosen) on_row_chosen(x - (shown_.first_number - 1));
  };
  column_->insertWidget(1, graph_->widget(), 1);
  return graph_;
}

void AnalysisPanel::show_graph() {
  if (!graph_) return;
  const AnalysisResults& r = shown_.results;
  const int base = shown_.first_number - 1;  // the start position's x
  std::vector<GraphView::Point> points;
  for (size_t k = 0; k < r.positions.size(); ++k)
    points.push_back({base + static_cast<int>(k),
                      capped_centipawns(r.positions[k].evaluation, false),
                      k == 0 ? MoveMark::none : r.moves[k - 1].mark});
  const int moves = std::max({shown_.progress.total - 1, static_cast<int>(r.positions.size()) - 1,
                              list_.rowCount() - 1});
  graph_->show_points(points, base, base + moves);
}

void AnalysisPanel::show_summary() {
  const AnalysisResults& r = shown_.results;
  summary_->setVisible(!shown_.running && !r.moves.empty());
  if (!summary_->isVisibleTo(this)) return;
  const int judged = static_cast<int>(r.moves.size());
  const int moves = std::max(judged, shown_.progress.total - 1);
  // Long names (an engine's) are cut to fit the panel.
  const QFontMetrics fm(font());
  const auto name = [&fm](const std::string& n) {
    return fm.elidedText(QString::fromStdString(n), Qt::ElideRight, fm.height() * 6);
  };
  const QString caption = judged < moves
                              ? QStringLiteral("解析 %1/%2手").arg(judged).arg(moves)
                              : QStringLiteral("解析 %1手").arg(judged);
  summary_->setText(QStringLiteral("<table cellspacing=0 cellpadding=2 width=100%><tr><th "
                                   "align=left>%1</th>")
                        .arg(caption) +
                    mark_heading(MoveMark::dubious) + mark_heading(MoveMark::bad) +
                    mark_heading(MoveMark::blunder) + QStringLiteral("<th>平均損失</th></tr>") +
                    summary_row(name(shown_.lower_name), r.lower) +
                    summary_row(name(shown_.upper_name), r.upper) + QStringLiteral("</table>"));
}

// The judgement keeps the height of its three lines, whatever the row.
void AnalysisPanel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::FontChange) return;
  judgement_->setMinimumHeight(3 * fontMetrics().lineSpacing() + 2 * judgement_->margin() +
                               2 * judgement_->frameWidth());
  show_summary();
}

void AnalysisPanel::show_row(int row) {
  if (graph_) graph_->show_current(shown_.first_number - 1 + row);
  judgement_->setText(judgement_text(shown_, row));
}

QString progress_text(const AnalysisProgress& progress) {
  const int moves = std::max(0, progress.total - 1);
  const int done = std::clamp(progress.done - 1, 0, moves);
  const QString left = progress.seconds_left < 0
                           ? QStringLiteral("残り時間を計算中")
                           : QStringLiteral("残り ") +
                                 move_time_text(std::ceil(progress.seconds_left));
  return QStringLiteral("%1/%2手　").arg(done).arg(moves) + left;
}

}  // namespace nirvex
