// Run by the settings tests as a user other than the one that made the
// folder: "write PATH" writes the settings file of the probe's choices,
// "create PATH" tries to make a new file there.  Exit status 0 when it
// worked, 1 when not.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "settings/settings_file.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string mode = argv[1];
  if (mode == "write") {
    nirvex::SettingsValues v;
    v.background = 5;
    v.guidance = true;
    return nirvex::write_settings_file(QString::fromLocal8Bit(argv[2]),
                                       nirvex::settings_lines(v))
               ? 0
               : 1;
  }
  if (mode == "create") {
    const int fd = ::open(argv[2], O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
      std::fprintf(stderr, "%s\n", std::strerror(errno));
      return 1;
    }
    ::close(fd);
    ::unlink(argv[2]);
    return 0;
  }
  return 2;
}
