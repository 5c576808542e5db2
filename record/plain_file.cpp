#include "record/plain_file.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nirvex {

namespace {

QString system_error(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Opens a path only when it names a plain file, and checks again on the
// open file, so that a pipe or a device put there meanwhile is not used.
// Non-blocking, so that not even the open waits on a pipe.
int open_plain(const QByteArray& name, int flags, struct stat& st, int& error) {
  if (::stat(name.constData(), &st) != 0) {
    error = errno;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    error = EINVAL;
    return -1;
  }
  const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = EINVAL;
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

bool read_plain_file(const QString& path, qint64 limit, QByteArray& bytes, PlainReadFault* fault,
                     QString* error) {
  const auto refuse = [&](PlainReadFault why, int err) {
    if (fault) *fault = why;
    if (error && why == PlainReadFault::system) *error = system_error(err);
    return false;
  };
  struct stat st{};
  int err = 0;
  const int fd = open_plain(QFile::encodeName(path), O_RDONLY, st, err);
  if (fd < 0) return refuse(err == EINVAL ? PlainReadFault::not_plain : PlainReadFault::system, err);
  if (st.st_size > limit) {
    ::close(fd);
    return refuse(PlainReadFault::too_large, 0);
  }
  // One byte more than the limit tells a file that grew meanwhile.
  bytes.resize(limit + 1);
  qint64 total = 0;
  while (total < limit + 1) {
    const ssize_t n = ::read(fd, bytes.data() + total, static_cast<std::size_t>(limit + 1 - total));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      err = errno;
      ::close(fd);
      return refuse(PlainReadFault::system, err);
    }
    if (n == 0) break;
    total += n;
  }
  ::close(fd);
  if (total > limit) return refuse(PlainReadFault::too_large, 0);
  bytes.resize(total);
  if (fault) *fault = PlainReadFault::none;
  return true;
}

bool write_file_in_place(const QString& path, const QByteArray& bytes, QString& error) {
  struct stat st{};
  int err = 0;
  const int fd = open_plain(QFile::encodeName(path), O_WRONLY, st, err);
  if (fd < 0) {
    error = system_error(err);
    return false;
  }
  const char* data = bytes.constData();
  std::size_t left = static_cast<std::size_t>(bytes.size());
  bool ok = true;
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false, err = n < 0 ? errno : EIO;
      break;
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  if (ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) ok = false, err = errno;
  if (ok && ::fsync(fd) != 0) ok = false, err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (!ok) error = system_error(err);
  return ok;
}

}  // namespace nirvex
