#include "tools/usi/console_analysis.h"

#include <memory>

#include "tools/usi/headless_window.h"
#include "tools/usi/pipe_engine.h"
#include "ui/flow/move_judgement.h"
#include "ui/flow/record_analysis.h"

namespace nirvex {

namespace {

// The analysis's listener in the console: each event goes to the flow,
// then the moves judged since are printed.
class PrintingListener : public EngineListener {
 public:
  PrintingListener(Game& game, std::ostream& out) : game_(game), flow_(game), out_(out) {}
  void said(const std::string& line) override {
    flow_.said(line);
    print_new_moves();
  }
  void ended() override {
    flow_.ended();
    print_new_moves();
  }
  void deadline_passed() override {
    flow_.deadline_passed();
    print_new_moves();
  }
  void overflowed() override {
    flow_.overflowed();
    print_new_moves();
  }
  bool awaiting() const override { return flow_.awaiting(); }

  // Prints the moves judged since the last time.
  void print_new_moves() {
    const std::vector<AnalysedMove>& moves = game_.record_analysis.results.moves;
    for (; printed_ < moves.size(); ++printed_) out_ << analysis_line(moves[printed_]) << '\n';
    out_.flush();
  }

 private:
  Game& game_;
  AnalysisListener flow_;
  std::ostream& out_;
  size_t printed_ = 0;
};

// The engine's message on one line.
std::string one_line(std::string text) {
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

}  // namespace

std::string analysis_line(const AnalysedMove& m) {
  const std::string mark = mark_word(m.mark);
  return "info string analysis " + std::to_string(m.ply) + ' ' + m.move_usi + ' ' +
         evaluation_text(m.evaluation) + ' ' + (m.best_usi.empty() ? "-" : m.best_usi) + ' ' +
         std::to_string(m.loss_cp) + ' ' + (mark.empty() ? "-" : mark);
}

void analyse_record(const GameState& g, const std::string& program, const AnalysisLimit& limit,
                    std::ostream& out) {
  HeadlessWindow window;
  SilentSound sound;
  PipeEngine engine;
  const auto game = std::make_unique<Game>();
  game->form = &window;
  game->sound = &sound;
  game->analysis_process = &engine;
  game->g = g;
  game->engine.choice.program = program;
  PrintingListener listener(*game, out);
  switch (start_record_analysis(*game, limit)) {
    case AnalysisStart::no_engine:
      out << "info string analysis error no engine\n";
      return;
    case AnalysisStart::no_moves:
      out << "info string analysis error no moves\n";
      return;
    case AnalysisStart::started:
      engine.serve(listener);
      listener.print_new_moves();
      break;
    case AnalysisStart::failed:
      break;
  }
  if (game->record_analysis.status == RecordAnalysis::Status::finished)
    out << "info string analysis done\n";
  else
    out << "info string analysis error " << one_line(game->record_analysis.fault) << '\n';
}

}  // namespace nirvex
