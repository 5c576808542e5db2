#include "ui/evaluation_graph.h"

#include <QAreaSeries>
#include <QEvent>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/flow/move_judgement.h"

namespace nirvex {

namespace {

// A step between the move numbers written on the x axis that leaves room
// for about six of them.
int x_step(int span) {
  for (int step : {1, 2, 5, 10, 20, 50, 100})
    if (span / step <= 6) return step;
  return 100;
}

// A series drawn as a plain line in this colour and width.
QLineSeries* line_series(QColor colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
  auto* s = new QLineSeries;
  QPen pen(colour, width, style);
  pen.setCosmetic(true);
  s->setPen(pen);
  return s;
}

}  // namespace

EvaluationGraph::EvaluationGraph(QWidget* parent, const std::vector<Mark>& marks)
    : QChartView(parent) {
  setObjectName(QStringLiteral("EvaluationGraph"));
  setRenderHint(QPainter::Antialiasing);
  setFocusPolicy(Qt::NoFocus);
  setFrameShape(QFrame::StyledPanel);
  auto* c = new QChart;
  c->setBackgroundRoundness(0);
  c->setMargins(QMargins(2, 2, 2, 2));
  c->layout()->setContentsMargins(0, 0, 0, 0);
  setChart(c);

  // The side the bottom player leads on is blue, the other red.
  above_ = new QLineSeries;
  zero_above_ = new QLineSeries;
  area_above_ = new QAreaSeries(above_, zero_above_);
  area_above_->setBrush(QColor(70, 130, 200, 80));
  area_above_->setPen(Qt::NoPen);
  below_ = new QLineSeries;
  zero_below_ = new QLineSeries;
  area_below_ = new QAreaSeries(below_, zero_below_);
  area_below_->setBrush(QColor(210, 70, 70, 70));
  area_below_->setPen(Qt::NoPen);
  line_ = line_series(QColor(40, 40, 40), 1.6);
  current_ = line_series(QColor(0, 120, 60), 1.4, Qt::DashLine);

  const struct {
    QScatterSeries** series;
    MoveMark mark;
  } kinds[] = {{&dubious_, MoveMark::dubious}, {&bad_, MoveMark::bad}, {&blunders_, MoveMark::blunder}};
  for (const auto& k : kinds) {
    auto* s = new QScatterSeries;
    for (const Mark& m : marks)
      if (m.mark == k.mark) {
        s->setName(m.name);
        s->setColor(m.colour);
      }
    s->setBorderColor(Qt::white);
    *k.series = s;
  }

  x_axis_ = new QValueAxis;
  x_axis_->setLabelFormat(QStringLiteral("%d"));
  x_axis_->setTickType(QValueAxis::TicksDynamic);
  x_axis_->setTickAnchor(0);
  y_axis_ = new QValueAxis;
  y_axis_->setRange(-evaluation_cap_cp, evaluation_cap_cp);
  y_axis_->setTickCount(5);
  y_axis_->setLabelFormat(QStringLiteral("%d"));
  c->addAxis(x_axis_, Qt::AlignBottom);
  c->addAxis(y_axis_, Qt::AlignLeft);
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
           area_above_, area_below_, line_, current_, dubious_, bad_, blunders_}) {
    c->addSeries(s);
    s->attachAxis(x_axis_);
    s->attachAxis(y_axis_);
  }
  // The legend names the marks only.
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{area_above_, area_below_,
                                                                    line_, current_})
    for (QLegendMarker* m : c->legend()->markers(s)) m->setVisible(false);
  c->legend()->setAlignment(Qt::AlignBottom);
  show_points({}, 0, 1);
  follow_font();
}

QScatterSeries* EvaluationGraph::marks(MoveMark mark) const {
  switch (mark) {
    case MoveMark::dubious: return dubious_;
    case MoveMark::bad: return bad_;
    case MoveMark::blunder: return blunders_;
    case MoveMark::none: break;
  }
  return nullptr;
}

void EvaluationGraph::show_points(const std::vector<Point>& points, int first_x, int last_x) {
  first_x_ = first_x;
  last_x_ = std::max(last_x, first_x + 1);
  x_axis_->setRange(first_x_, last_x_);
  x_axis_->setTickInterval(x_step(last_x_ - first_x_));
  QList<QPointF> line;
  QList<QPointF> marked[3];
  for (const Point& p : points) {
    line << QPointF(p.x, p.score);
    if (p.mark != MoveMark::none) marked[static_cast<int>(p.mark) - 1] << QPointF(p.x, p.score);
  }
  line_->replace(line);
  dubious_->replace(marked[0]);
  bad_->replace(marked[1]);
  blunders_->replace(marked[2]);
  fill_areas(points);
  show_current(current_x_);
}

void EvaluationGraph::fill_areas(const std::vector<Point>& points) {
  QList<QPointF> above, below, zero;
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[i];
    // Where the line crosses zero, both areas meet it there.
    if (i > 0) {
      const Point& q = points[i - 1];
      if ((q.score < 0 && p.score > 0) || (q.score > 0 && p.score < 0)) {
        const double x = q.x + (p.x - q.x) * (0.0 - q.score) / (p.score - q.score);
        above << QPointF(x, 0);
        below << QPointF(x, 0);
        zero << QPointF(x, 0);
      }
    }
    above << QPointF(p.x, std::max(p.score, 0));
    below << QPointF(p.x, std::min(p.score, 0));
    zero << QPointF(p.x, 0);
  }
  above_->replace(above);
  below_->replace(below);
  zero_above_->replace(zero);
  zero_below_->replace(zero);
}

void EvaluationGraph::show_current(int x) {
  current_x_ = x;
  if (x < first_x_ || x > last_x_)
    current_->clear();
  else
    current_->replace({QPointF(x, -evaluation_cap_cp), QPointF(x, evaluation_cap_cp)});
}

QPoint EvaluationGraph::position_of(double x, double score) const {
  const QPointF in_chart = chart()->mapToPosition(QPointF(x, score), line_);
  return mapFromScene(chart()->mapToScene(in_chart));
}

void EvaluationGraph::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QChartView::mousePressEvent(event);
  const QPointF in_chart = chart()->mapFromScene(mapToScene(event->position().toPoint()));
  const QRectF plot = chart()->plotArea();
  // A little beyond the plot's ends still means its first or last move.
  if (in_chart.y() < plot.top() || in_chart.y() > plot.bottom() ||
      in_chart.x() < plot.left() - 8 || in_chart.x() > plot.right() + 8)
    return;
  const double value = chart()->mapToValue(in_chart, line_).x();
  const int x = std::clamp(static_cast<int>(std::lround(value)), first_x_, last_x_);
  if (on_chosen) on_chosen(x);
}

void EvaluationGraph::changeEvent(QEvent* event) {
  QChartView::changeEvent(event);
  if (event->type() == QEvent::FontChange) follow_font();
}

void EvaluationGraph::follow_font() {
  QFont small = font();
  if (small.pixelSize() > 0)
    small.setPixelSize(std::max(9, small.pixelSize() * 4 / 5));
  else
    small.setPointSizeF(small.pointSizeF() * 0.8);
  x_axis_->setLabelsFont(small);
  y_axis_->setLabelsFont(small);
  chart()->legend()->setFont(small);
  const qreal marker = QFontMetricsF(small).height() * 0.7;
  for (QScatterSeries* s : {dubious_, bad_, blunders_}) s->setMarkerSize(marker);
  updateGeometry();
}

QSize EvaluationGraph::sizeHint() const {
  const int line = fontMetrics().height();
  return {line * 12, line * 11};
}

QSize EvaluationGraph::minimumSizeHint() const {
  const int line = fontMetrics().height();
  return {line * 6, line * 6};
}

}  // namespace nirvex

// What the program finds in the module.
extern "C" Q_DECL_EXPORT nirvex::GraphView* nirvex_make_graph(
    QWidget* parent, const std::vector<nirvex::GraphView::Mark>& marks) {
  return new nirvex::EvaluationGraph(parent, marks);
}
