#include "ui/buffer_memory.h"

#include <cstddef>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace nirvex {

#ifdef __linux__
namespace {

// Where the pixels lie and how much was mapped, for letting them go.
struct Mapping {
  void* start;
  std::size_t length;
};

void unmap(void* info) {
  auto* m = static_cast<Mapping*>(info);
  munmap(m->start, m->length);
  delete m;
}

}  // namespace
#endif

QImage buffer_picture(int width, int height) {
#ifdef __linux__
  if (width > 0 && height > 0) {
    const qsizetype bytes_per_line = qsizetype(width) * 4;
    const std::size_t length = std::size_t(bytes_per_line) * std::size_t(height);
    void* start =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start != MAP_FAILED) {
      madvise(start, length, MADV_DONTFORK);
      return QImage(static_cast<uchar*>(start), width, height, bytes_per_line,
                    QImage::Format_RGB32, unmap, new Mapping{start, length});
    }
  }
#endif
  return QImage(width, height, QImage::Format_RGB32);
}

}  // namespace nirvex
