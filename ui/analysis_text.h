// The record analysis in the window's words and colours: evaluations as
// the list and the graph label them, the marks' colours, and the full
// judgement of one row of the move list.
#pragma once

#include <QColor>
#include <QString>

#include "ui/flow/analysis_results.h"

namespace nirvex {

// An evaluation from the bottom side's view: "+320", "-45", "0", a mate
// as "+3手詰" (the bottom side mates in three plies) or "-詰み" (it has
// been mated).
QString evaluation_label(const Evaluation& e);

// The colour a mark is written and drawn in; none is the text's own.
QColor mark_colour(MoveMark mark);

// Whether a table row's move was made by the side that moved first (▲),
// row 1 being the record's first move.
bool first_movers_row(const AnalysisShown& shown, int row);

// Everything the analysis says of a row of the move list: for a move its
// number, the move and its mark, the evaluation after it and its loss,
// and the engine's best move in the position before it; for row 0 the
// start's evaluation and best move.  Empty when there is nothing to say.
QString judgement_text(const AnalysisShown& shown, int row);

}  // namespace nirvex
