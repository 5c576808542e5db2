#include "ui/graph_view.h"

#include "ui/program_modules.h"

namespace nirvex {

GraphView* make_graph(QWidget* parent, const std::vector<GraphView::Mark>& marks) {
  const auto make = reinterpret_cast<MakeGraph>(module_symbol("nirvex-graph", "nirvex_make_graph"));
  return make ? make(parent, marks) : nullptr;
}

}  // namespace nirvex
