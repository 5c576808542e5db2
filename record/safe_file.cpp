#include "record/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nirvex {

namespace {

// The system's description of the last error.
QString system_error(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Writes all of the bytes, going on after short writes and interruptions.
bool write_all(int fd, const char* data, std::size_t size, int& error) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

// Written with the system calls themselves, so that every short write,
// full disk and failed close is seen: the new file goes to a temporary name
// in the same folder, is flushed to the disk and only then renamed over the
// old one, which the rename replaces in one step.
bool save_file_safely(const QString& path, const QByteArray& bytes, QString& error) {
  // A link to a plain file is followed, so that the file it names is the
  // one replaced; a link to anything else (a pipe, a device) is replaced
  // itself, never what it names.
  const QFileInfo info(path);
  const QString target = info.isSymLink() && info.isFile() ? info.canonicalFilePath() : path;
  const QByteArray target_name = QFile::encodeName(target);
  const QByteArray dir_name = QFile::encodeName(QFileInfo(target).absolutePath());
  QByteArray temp_name = QFile::encodeName(
      QFileInfo(target).absolutePath() + QStringLiteral("/.") +
      QFileInfo(target).fileName() + QStringLiteral(".XXXXXX"));

  // The new file gets the old file's permissions, or the usual ones.
  struct stat old_stat{};
  mode_t mode;
  if (::stat(target_name.constData(), &old_stat) == 0) {
    mode = old_stat.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  const int fd = ::mkstemp(temp_name.data());
  if (fd < 0) {
    error = system_error(errno);
    return false;
  }
  int err = 0;
  bool ok = write_all(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), err);
  if (ok && ::fchmod(fd, mode) != 0) ok = false, err = errno;
  if (ok && ::fsync(fd) != 0) ok = false, err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (ok && ::rename(temp_name.constData(), target_name.constData()) != 0)
    ok = false, err = errno;
  if (!ok) {
    ::unlink(temp_name.constData());
    error = system_error(err);
    return false;
  }
  // Make the rename itself last; a failure here no longer loses anything.
  const int dir_fd = ::open(dir_name.constData(), O_RDONLY | O_DIRECTORY);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
  return true;
}

}  // namespace nirvex
