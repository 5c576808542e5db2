// nirvex-check-pictures: compares folders of freshly drawn pictures with
// the kept ones, pixel by pixel within the tolerance of rounding.
//   nirvex-check-pictures DRAWN KEPT [DRAWN KEPT ...]
#include <cstdio>

#include "tools/gen_assets/picture_check.h"

// Prints every difference; exit status 1 when there is one.
int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: nirvex-check-pictures DRAWN KEPT [DRAWN KEPT ...]\n");
    return 2;
  }
  int problems = 0, folders = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const QString drawn = QString::fromLocal8Bit(argv[i]), kept = QString::fromLocal8Bit(argv[i + 1]);
    for (const std::string& line : nirvex::folder_differences(drawn, kept)) {
      std::fprintf(stderr, "%s\n", line.c_str());
      ++problems;
    }
    ++folders;
  }
  if (problems > 0) {
    std::fprintf(stderr, "redraw with the nirvex-pictures target if the change is meant\n");
    return 1;
  }
  std::printf("the pictures of %d folders match their drawings\n", folders);
  return 0;
}
