// Whether the kept pictures are still what the generator draws.  Pictures
// are compared as decoded pixels: an antialiased edge may round one way on
// one machine and the other way on the next, so a channel off by a little
// in a few scattered pixels is the same picture; anything one could see is
// not.
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

namespace nirvex {

// How far a kept picture may stray from the drawing.
struct PictureTolerance {
  // The largest difference of one channel (of colour premultiplied by
  // its opacity, as the picture shows over any ground).
  int channel = 2;
  // How many pixels may differ at all: this share of the picture, but
  // never fewer than `pixels`.
  double share = 0.01;
  int pixels = 4;
};

// Why the kept picture is not the drawn one, in a few words; empty when
// they agree within the tolerance.  Sizes must agree exactly.
std::string picture_difference(const QImage& drawn, const QImage& kept,
                               const PictureTolerance& tolerance = {});

// Every PNG drawn into `drawn_dir` against its namesake in `kept_dir`:
// one line for each picture that differs, is drawn but not kept, or is
// kept but no longer drawn.  Empty when the folders agree.
std::vector<std::string> folder_differences(const QString& drawn_dir, const QString& kept_dir,
                                            const PictureTolerance& tolerance = {});

}  // namespace nirvex
