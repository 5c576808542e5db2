// The evaluation over the game, a small chart under the move list: x the
// move number, y the evaluation after that move from the bottom side's
// view, clipped to a readable range with mates at its edges; the marked
// moves as points in their marks' colours, and the position on the board
// as a vertical line.  A click asks for the move nearest to it.  Built
// into the module "nirvex-graph" (ui/graph_view.h), the only part of the
// program that links Qt Charts.
#pragma once

#include <QChartView>
#include <functional>
#include <vector>

#include "ui/graph_view.h"

class QAreaSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace nirvex {

class EvaluationGraph : public QChartView, public GraphView {
  Q_OBJECT

 public:
  // An empty chart: the axes, the series and the legend of these marks.
  EvaluationGraph(QWidget* parent, const std::vector<Mark>& marks);

  QWidget* widget() override { return this; }
  void show_points(const std::vector<Point>& points, int first_x, int last_x) override;
  void show_current(int x) override;

  // The series as shown: the evaluation's line, the points of one mark,
  // the position's line.
  QLineSeries* evaluation() const { return line_; }
  QScatterSeries* marks(MoveMark mark) const;
  QLineSeries* current_line() const { return current_; }
  // Where a value lies in the widget, as a click would find it.
  QPoint position_of(double x, double score) const;

  // About eleven lines of the font high, at least six.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  // A left click in the plot chooses the nearest move number.
  void mousePressEvent(QMouseEvent* event) override;
  // The labels follow the font.
  void changeEvent(QEvent* event) override;

 private:
  // The axes' labels and the legend in the widget's font.
  void follow_font();
  // The areas between the line and zero, one colour each side of it.
  void fill_areas(const std::vector<Point>& points);

  QLineSeries* line_ = nullptr;
  QLineSeries* above_ = nullptr;  // the line where it is above zero, zero elsewhere
  QLineSeries* below_ = nullptr;
  QLineSeries* zero_above_ = nullptr;
  QLineSeries* zero_below_ = nullptr;
  QAreaSeries* area_above_ = nullptr;
  QAreaSeries* area_below_ = nullptr;
  QScatterSeries* dubious_ = nullptr;
  QScatterSeries* bad_ = nullptr;
  QScatterSeries* blunders_ = nullptr;
  QLineSeries* current_ = nullptr;
  QValueAxis* x_axis_ = nullptr;
  QValueAxis* y_axis_ = nullptr;
  int first_x_ = 0, last_x_ = 1;
  int current_x_ = 0;
};

}  // namespace nirvex
