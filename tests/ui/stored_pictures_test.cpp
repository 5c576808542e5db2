// The pictures kept in the program are exactly what decoding their PNG
// files gives: the same size, format and pixels.
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include "assets/stored_pictures.h"

namespace nirvex {
namespace {

TEST(StoredPictures, AreThePngFilesDecoded) {
  const QDir folder(QStringLiteral(NIRVEX_PICTURES_DIR));
  const QStringList files = folder.entryList({QStringLiteral("*.png")}, QDir::Files);
  int checked = 0;
  for (const QString& file : files) {
    if (file.startsWith(QStringLiteral("ABOUT"))) continue;  // a resource of the about box
    const QImage decoded(folder.filePath(file));
    const QImage stored = stored_picture(file.chopped(4));
    ASSERT_FALSE(stored.isNull()) << file.toStdString();
    EXPECT_EQ(stored.format(), decoded.format()) << file.toStdString();
    EXPECT_TRUE(stored == decoded) << file.toStdString();
    ++checked;
  }
  EXPECT_GE(checked, 60);
  EXPECT_TRUE(stored_picture(QStringLiteral("NO_SUCH_PICTURE")).isNull());
}

}  // namespace
}  // namespace nirvex
