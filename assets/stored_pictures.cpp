#include "assets/stored_pictures.h"

#include <cstddef>
#include <cstring>

// The packed pixels, put into the program by the assembler.
extern "C" const unsigned char nirvex_packed_pictures[];
asm(".section .rodata\n"
    ".balign 64\n"
    ".global nirvex_packed_pictures\n"
    "nirvex_packed_pictures:\n"
    ".incbin \"" NIRVEX_PACKED_PICTURES "\"\n"
    ".previous\n");

namespace nirvex {
namespace {

struct StoredPicture {
  const char* name;
  std::size_t offset;
  int width, height;
  qsizetype bytes_per_line;
  int format;
};

constexpr StoredPicture stored[] = {
#include "picture_index.inc"
};

}  // namespace

QImage stored_picture(const QString& name) {
  const QByteArray wanted = name.toLatin1();
  for (const StoredPicture& p : stored)
    if (wanted == p.name)
      return QImage(nirvex_packed_pictures + p.offset, p.width, p.height, p.bytes_per_line,
                    static_cast<QImage::Format>(p.format));
  return {};
}

}  // namespace nirvex
