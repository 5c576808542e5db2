#include "ui/analysis_text.h"

#include "ui/flow/move_judgement.h"

namespace nirvex {

QString evaluation_label(const Evaluation& e) {
  const QString sign = e.mate ? (e.bottom_mates ? "+" : "-") : (e.centipawns > 0 ? "+" : "");
  if (!e.mate) return sign + QString::number(e.centipawns);
  if (e.mate_plies == 0) return sign + QStringLiteral("詰み");
  return sign + QStringLiteral("%1手詰").arg(e.mate_plies);
}

QColor mark_colour(MoveMark mark) {
  switch (mark) {
    case MoveMark::dubious: return QColor(0xb0, 0x80, 0x00);
    case MoveMark::bad: return QColor(0xe0, 0x5a, 0x00);
    case MoveMark::blunder: return QColor(0xc8, 0x10, 0x2e);
    case MoveMark::none: break;
  }
  return {};
}

bool first_movers_row(const AnalysisShown& shown, int row) {
  return (shown.first_number + row - 1) % 2 == 1;
}

namespace {

// A move as the list writes it, with its side's mark: "▲３四銀".
QString with_side(const AnalysisShown& shown, int row, const std::string& move) {
  return QString::fromUtf8(first_movers_row(shown, row) ? "▲" : "△") +
         QString::fromStdString(move);
}

// The engine's best move, or that it had none (the game was over).
QString best_line(const AnalysisShown& shown, int row, const std::string& best) {
  return QStringLiteral("最善手 ") +
         (best.empty() ? QStringLiteral("なし") : with_side(shown, row, best));
}

}  // namespace

QString judgement_text(const AnalysisShown& shown, int row) {
  const AnalysisResults& r = shown.results;
  if (row < 0 || row >= static_cast<int>(r.positions.size())) return {};
  if (row == 0)
    return QStringLiteral("開始局面\n評価値 %1\n")
               .arg(evaluation_label(r.positions[0].evaluation)) +
           best_line(shown, 1, r.positions[0].best_text);
  const AnalysedMove& m = r.moves[row - 1];
  QString head = QStringLiteral("%1手目 ").arg(shown.first_number + row - 1) +
                 with_side(shown, row, m.move_text);
  if (m.mark != MoveMark::none) head += QStringLiteral("　") + QString::fromStdString(mark_word(m.mark));
  QString best = best_line(shown, row, m.best_text);
  if (!m.best_usi.empty() && m.best_usi == m.move_usi) best += QStringLiteral("（指し手どおり）");
  return head + QStringLiteral("\n評価値 %1　損失 %2\n").arg(evaluation_label(m.evaluation)).arg(m.loss_cp) +
         best;
}

}  // namespace nirvex
