// The record analysis beside the board, under the move list: the full
// judgement of the row the board shows, the evaluation graph, each side's
// summary once the analysis has stopped and, while it runs, its progress
// with "中止".  It is the flow's AnalysisView, and hands the results to
// the move list's rows.
#pragma once

#include <QWidget>
#include <functional>

#include "ui/flow/ports.h"
#include "ui/graph_view.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace nirvex {

class MoveListModel;

class AnalysisPanel : public QWidget, public AnalysisView {
  Q_OBJECT

 public:
  // Hands the results to the rows of this list, and follows its position.
  AnalysisPanel(MoveListModel& list, QWidget* parent = nullptr);

  // What the flow tells: the state, the progress and the results.
  void show_analysis(const AnalysisShown& shown) override;
  // Is there anything to show: an analysis running, or results?
  bool has_content() const;

  // "中止" was pressed.
  std::function<void()> on_cancel;
  // A click on the graph: the position after that many moves is wanted.
  std::function<void(int row)> on_row_chosen;
  // How far the analysis is now, asked for while it runs so that the time
  // left keeps counting down between positions.
  std::function<AnalysisProgress()> progress_source;
  // Where the graph comes from when it is first to show; without one (its
  // module missing) the panel shows the rest, with no graph.
  std::function<GraphView*(QWidget* parent, const std::vector<GraphView::Mark>& marks)>
      graph_maker = make_graph;

  // Its parts, for the window tests.
  QLabel* judgement() const { return judgement_; }
  // The graph, made when there is first something to draw (null before).
  GraphView* graph() const { return graph_; }
  QLabel* summary() const { return summary_; }
  QProgressBar* progress() const { return progress_; }
  QPushButton* cancel_button() const { return cancel_; }

 signals:
  // has_content() may have changed.
  void content_changed();

 protected:
  // The judgement's height and the summary follow the font.
  void changeEvent(QEvent* event) override;

 private:
  // The judgement and the graph's line for the position on the board.
  void show_row(int row);
  // The bar: positions done of all, and the moves and time as text.
  void show_progress(const AnalysisProgress& progress);
  // Each side's marks and average loss, once the analysis has stopped.
  void show_summary();
  // The graph's points: every position judged, on the record's moves.
  void show_graph();
  // The graph, made the first time it is to show.
  GraphView* graph_to_show();

  MoveListModel& list_;
  AnalysisShown shown_;
  QVBoxLayout* column_;
  QLabel* judgement_;
  GraphView* graph_ = nullptr;
  QLabel* summary_;
  QProgressBar* progress_;
  QPushButton* cancel_;
  QWidget* progress_row_;
  QTimer* ticker_;
};

// The progress as the bar writes it: "12/60手　残り 0:24".
QString progress_text(const AnalysisProgress& progress);

}  // namespace nirvex
