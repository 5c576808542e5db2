// The pictures the board is painted with, kept in the program exactly as
// decoding their PNG files gives them, so that showing one decodes
// nothing and its pixels stay in the program's own pages until used.
#pragma once

#include <QImage>
#include <QString>

namespace nirvex {

// The picture of that name ("KARA_MASU", "SITA_HU_0@4x"), read-only over
// the program's memory; null when there is none.
QImage stored_picture(const QString& name);

}  // namespace nirvex
