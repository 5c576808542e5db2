// The evaluation graph under the move list, as the analysis panel drives
// it.  The chart itself (ui/evaluation_graph.*, Qt Charts) lives in the
// module "nirvex-graph", loaded when the first graph is made: the program
// starts without the charting library.
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <vector>

#include "ui/flow/analysis_results.h"

class QWidget;

namespace nirvex {

class GraphView {
 public:
  // One position: its move number (0 the start), its score in centipawns
  // for the bottom side, already clipped, and the mark of the move that
  // led to it.
  struct Point {
    int x = 0;
    int score = 0;
    MoveMark mark = MoveMark::none;
  };
  // A mark as the legend names it and the points are coloured.
  struct Mark {
    MoveMark mark = MoveMark::none;
    QString name;
    QColor colour;
  };

  virtual ~GraphView() = default;
  // The graph as a widget of the panel.
  virtual QWidget* widget() = 0;
  // Shows these points on an x axis from first_x to last_x.
  virtual void show_points(const std::vector<Point>& points, int first_x, int last_x) = 0;
  // Puts the line of the position on the board at this move number.
  virtual void show_current(int x) = 0;

  // A click on the graph: the move number nearest to it.
  std::function<void(int x)> on_chosen;
};

// What the module offers under the name "nirvex_make_graph": a graph, a
// child of `parent`, with these marks.
using MakeGraph = GraphView* (*)(QWidget* parent, const std::vector<GraphView::Mark>& marks);

// A graph from the module, loaded the first time; null when the module
// cannot be found.
GraphView* make_graph(QWidget* parent, const std::vector<GraphView::Mark>& marks);

}  // namespace nirvex
