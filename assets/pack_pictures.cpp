// Packs the game's pictures for the program as the window paints them:
// each PNG decoded by Qt exactly as loading it would, its pixels one after
// another in a data file, and an index of names, sizes and formats.  The
// program then shows them straight from its own memory, with nothing to
// decode at run time.
//   nirvex-pack-pictures DATA_FILE INDEX_FILE PICTURE.png...
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdio>

namespace {

// Each picture starts on a boundary of this many bytes.
constexpr qint64 alignment = 64;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DATA_FILE INDEX_FILE PICTURE.png...\n", argv[0]);
    return 2;
  }
  QFile data(QString::fromLocal8Bit(argv[1]));
  QFile index(QString::fromLocal8Bit(argv[2]));
  if (!data.open(QIODevice::WriteOnly) || !index.open(QIODevice::WriteOnly | QIODevice::Text)) {
    std::fprintf(stderr, "cannot write %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  index.write("// Made by nirvex-pack-pictures: name, offset, width, height, bytes per line,\n"
              "// QImage format.\n");
  for (int i = 3; i < argc; ++i) {
    const QString path = QString::fromLocal8Bit(argv[i]);
    const QImage image(path);
    if (image.isNull()) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    const qint64 offset = data.pos();
    data.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    data.write(QByteArray((alignment - data.pos() % alignment) % alignment, '\0'));
    index.write(QStringLiteral("{\"%1\", %2, %3, %4, %5, %6},\n")
                    .arg(QFileInfo(path).completeBaseName())
                    .arg(offset)
                    .arg(image.width())
                    .arg(image.height())
                    .arg(image.bytesPerLine())
                    .arg(static_cast<int>(image.format()))
                    .toUtf8());
  }
  return data.error() == QFile::NoError && index.error() == QFile::NoError ? 0 : 1;
}
