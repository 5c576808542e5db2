// The picture check against the kept icons: each is taken as the drawing
// and a copy, altered, as the kept picture.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>

#include "tools/gen_assets/picture_check.h"

namespace nirvex {
namespace {

using Alteration = std::function<void(QImage&)>;

QStringList kept_icon_names() {
  return QDir(QStringLiteral(NIRVEX_KEPT_ICONS_DIR))
      .entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

QImage kept_icon(const QString& name) {
  return QImage(QDir(QStringLiteral(NIRVEX_KEPT_ICONS_DIR)).filePath(name))
      .convertToFormat(QImage::Format_ARGB32);
}

// The first `count` pixels that can be seen (opaque enough that a channel
// changed by one shows), scanning from the middle row down, so that they
// lie on the king piece and its edges.
std::vector<QPoint> visible_pixels(const QImage& icon, int count) {
  std::vector<QPoint> found;
  for (int y = icon.height() / 2; y < icon.height() && int(found.size()) < count; ++y)
    for (int x = 0; x < icon.width() && int(found.size()) < count; ++x)
      if (qAlpha(icon.pixel(x, y)) == 255) found.push_back({x, y});
  return found;
}

// Changes the red of `count` visible pixels by `by`, keeping it in range.
Alteration red_of_pixels(int count, int by) {
  return [count, by](QImage& icon) {
    for (const QPoint& p : visible_pixels(icon, count)) {
      const QRgb c = icon.pixel(p);
      const int red = qRed(c) + by <= 255 ? qRed(c) + by : qRed(c) - by;
      icon.setPixel(p, qRgba(red, qGreen(c), qBlue(c), qAlpha(c)));
    }
  };
}

// Shifts the blue of every visible pixel by `by`, keeping it in range.
Alteration blue_everywhere(int by) {
  return [by](QImage& icon) {
    for (int y = 0; y < icon.height(); ++y)
      for (int x = 0; x < icon.width(); ++x) {
        const QRgb c = icon.pixel(x, y);
        if (qAlpha(c) == 0) continue;
        const int blue = qBlue(c) + by <= 255 ? qBlue(c) + by : qBlue(c) - by;
        icon.setPixel(x, y, qRgba(qRed(c), qGreen(c), blue, qAlpha(c)));
      }
  };
}

// A drawn folder holding the kept icons and a kept folder holding them
// altered; what the check says of the two.
class FolderCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(drawn_.isValid() && kept_.isValid());
    names_ = kept_icon_names();
    ASSERT_EQ(names_.size(), 9);
    for (const QString& name : names_) {
      const QImage icon = kept_icon(name);
      ASSERT_FALSE(icon.isNull()) << name.toStdString();
      ASSERT_TRUE(icon.save(QDir(drawn_.path()).filePath(name)));
    }
  }
  // Keeps every icon altered by `alter`; the problems the check finds.
  std::vector<std::string> check_with(const Alteration& alter) {
    for (const QString& name : names_) {
      QImage icon = kept_icon(name);
      alter(icon);
      EXPECT_TRUE(icon.save(QDir(kept_.path()).filePath(name)));
    }
    return folder_differences(drawn_.path(), kept_.path());
  }
  QTemporaryDir drawn_, kept_;
  QStringList names_;
};

TEST_F(FolderCheck, RoundingOfAFewPixelsPasses) {
  EXPECT_EQ(check_with([](QImage&) {}), std::vector<std::string>{});
  EXPECT_EQ(check_with(red_of_pixels(3, 1)), std::vector<std::string>{});
  EXPECT_EQ(check_with(red_of_pixels(4, -2)), std::vector<std::string>{});
}

TEST_F(FolderCheck, AFewPixelsClearlyChangedFailEveryIcon) {
  const std::vector<std::string> problems = check_with(red_of_pixels(3, 40));
  ASSERT_EQ(problems.size(), 9u);
  for (const std::string& p : problems) EXPECT_NE(p.find("differs from the drawing"), p.npos) << p;
  EXPECT_EQ(check_with(red_of_pixels(1, 3)).size(), 9u);  // just past rounding
}

TEST_F(FolderCheck, AColourShiftedFailsEvenByOne) {
  EXPECT_EQ(check_with(blue_everywhere(12)).size(), 9u);
  EXPECT_EQ(check_with(blue_everywhere(1)).size(), 9u);  // too many pixels for rounding
}

TEST_F(FolderCheck, AMissingOrExtraIconFails) {
  check_with([](QImage&) {});
  ASSERT_TRUE(QFile::remove(QDir(kept_.path()).filePath(names_[0])));
  std::vector<std::string> problems = folder_differences(drawn_.path(), kept_.path());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], names_[0].toStdString() + " is drawn but not kept");

  ASSERT_TRUE(QFile::copy(QDir(drawn_.path()).filePath(names_[0]),
                          QDir(kept_.path()).filePath(names_[0])));
  ASSERT_TRUE(kept_icon(names_[1]).save(QDir(kept_.path()).filePath("nirvex-shogi-1024.png")));
  problems = folder_differences(drawn_.path(), kept_.path());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "nirvex-shogi-1024.png is kept but no longer drawn: remove it");
}

TEST_F(FolderCheck, NothingDrawnFails) {
  check_with([](QImage&) {});
  QTemporaryDir empty;
  const std::vector<std::string> problems = folder_differences(empty.path(), kept_.path());
  ASSERT_EQ(problems.size(), 1u + names_.size());  // and each kept one no longer drawn
  EXPECT_EQ(problems[0], "nothing was drawn into " + empty.path().toStdString());
}

TEST(PictureDifference, AMovedStrokeOrAnotherSizeFails) {
  const QImage icon = kept_icon(QStringLiteral("nirvex-shogi-128.png"));
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(picture_difference(icon, icon), "");
  QImage moved(icon.size(), icon.format());
  moved.fill(Qt::transparent);
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 1; x < icon.width(); ++x) moved.setPixel(x, y, icon.pixel(x - 1, y));
  EXPECT_NE(picture_difference(icon, moved), "");
  EXPECT_EQ(picture_difference(icon, icon.copy(0, 0, 127, 128)), "is 127x128, the drawing 128x128");
  EXPECT_EQ(picture_difference(icon, QImage()), "cannot be read");
}

TEST(PictureDifference, AnInvisiblePixelsColourPlaysNoPart) {
  QImage drawn(4, 4, QImage::Format_ARGB32);
  drawn.fill(qRgba(200, 10, 10, 0));
  QImage kept = drawn;
  kept.fill(qRgba(0, 90, 250, 0));
  EXPECT_EQ(picture_difference(drawn, kept), "");
  kept.setPixel(0, 0, qRgba(0, 90, 250, 3));  // now it shows, faintly
  EXPECT_NE(picture_difference(drawn, kept), "");
}

}  // namespace
}  // namespace nirvex
