#include "tools/gen_assets/picture_check.h"

#include <QDir>
#include <algorithm>
#include <cstdlib>
#include <set>

namespace nirvex {

namespace {

// The picture as it shows over any ground: four bytes a pixel, colour
// premultiplied by opacity, so an invisible pixel's colour plays no part.
QImage shown(const QImage& picture) {
  return picture.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

// The PNG files of a folder, by name.
std::set<QString> png_names(const QString& dir) {
  const QStringList names = QDir(dir).entryList({QStringLiteral("*.png")}, QDir::Files);
  return {names.begin(), names.end()};
}

}  // namespace

std::string picture_difference(const QImage& drawn, const QImage& kept,
                               const PictureTolerance& tolerance) {
  if (kept.isNull()) return "cannot be read";
  if (drawn.size() != kept.size())
    return "is " + std::to_string(kept.width()) + "x" + std::to_string(kept.height()) +
           ", the drawing " + std::to_string(drawn.width()) + "x" +
           std::to_string(drawn.height());
  const QImage a = shown(drawn), b = shown(kept);
  long long differing = 0;
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    const uchar* pa = a.constScanLine(y);
    const uchar* pb = b.constScanLine(y);
    for (int i = 0; i < a.width() * 4; i += 4) {
      int worst = 0;
      for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(pa[i + c] - pb[i + c]));
      if (worst == 0) continue;
      ++differing;
      largest = std::max(largest, worst);
    }
  }
  const long long pixels = static_cast<long long>(a.width()) * a.height();
  const long long allowed =
      std::max<long long>(tolerance.pixels, static_cast<long long>(pixels * tolerance.share));
  if (largest <= tolerance.channel && differing <= allowed) return {};
  return std::to_string(differing) + " of " + std::to_string(pixels) +
         " pixels differ (at most " + std::to_string(allowed) + " may), by up to " +
         std::to_string(largest) + " in a channel (at most " +
         std::to_string(tolerance.channel) + " may)";
}

std::vector<std::string> folder_differences(const QString& drawn_dir, const QString& kept_dir,
                                            const PictureTolerance& tolerance) {
  std::vector<std::string> problems;
  const std::set<QString> drawn = png_names(drawn_dir), kept = png_names(kept_dir);
  if (drawn.empty()) problems.push_back("nothing was drawn into " + drawn_dir.toStdString());
  for (const QString& name : drawn) {
    const std::string shown_name = name.toStdString();
    if (!kept.contains(name)) {
      problems.push_back(shown_name + " is drawn but not kept");
      continue;
    }
    const std::string why = picture_difference(QImage(QDir(drawn_dir).filePath(name)),
                                               QImage(QDir(kept_dir).filePath(name)), tolerance);
    if (!why.empty()) problems.push_back(shown_name + " differs from the drawing: " + why);
  }
  for (const QString& name : kept)
    if (!drawn.contains(name))
      problems.push_back(name.toStdString() + " is kept but no longer drawn: remove it");
  return problems;
}

}  // namespace nirvex
