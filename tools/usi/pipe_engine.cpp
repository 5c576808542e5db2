#include "tools/usi/pipe_engine.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>


namespace nirvex {

namespace {

// How long an ended engine may take to go before it is killed.
constexpr auto quit_grace = std::chrono::milliseconds(1000);
// How much is read from the engine at once.
constexpr size_t read_size = 16 * 1024;

void close_fd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

PipeEngine::~PipeEngine() { end(); }

// Forks the program with its input and output on pipes; a third pipe,
// closed by a successful exec, carries the reason when exec fails.
bool PipeEngine::start(const std::string& program, std::string& error) {
  end();
  std::signal(SIGPIPE, SIG_IGN);  // a dead engine must not end the console
  int in[2], out[2], report[2];
  if (pipe(in) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (pipe(out) != 0 || pipe2(report, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    close(in[0]);
    close(in[1]);
    return false;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1], report[0]}) close(fd);
    execlp(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    const int why = errno;
    (void)!write(report[1], &why, sizeof why);
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(report[1]);
  if (pid < 0) {
    error = std::strerror(errno);
    for (int fd : {in[1], out[0], report[0]}) close(fd);
    return false;
  }
  ++starts_;
  int why = 0;
  const ssize_t n = read(report[0], &why, sizeof why);
  close(report[0]);
  pid_ = pid;
  to_child_ = in[1];
  from_child_ = out[0];
  if (n == static_cast<ssize_t>(sizeof why)) {
    error = std::strerror(why);
    end();
    return false;
  }
  return true;
}

void PipeEngine::send(const std::string& line) {
  if (to_child_ < 0) return;
  const std::string text = line + '\n';
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(to_child_, text.data() + done, text.size() - done);
    if (n <= 0) return;  // the engine is gone; its end will be noticed
    done += static_cast<size_t>(n);
  }
}

// Closes its input, gives it a moment to go, then kills it; always reaps.
void PipeEngine::end() {
  close_fd(to_child_);
  close_fd(from_child_);
  pending_.clear();
  pending_from_ = 0;
  armed_ = false;
  if (pid_ <= 0) return;
  const auto give_up = std::chrono::steady_clock::now() + quit_grace;
  while (waitpid(pid_, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= give_up) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
}

void PipeEngine::set_deadline(int milliseconds) {
  armed_ = milliseconds > 0;
  deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

bool PipeEngine::read_available(EngineListener& listener) {
  // What was handed on is dropped once per read, not once per line.
  pending_.erase(0, pending_from_);
  pending_from_ = 0;
  const size_t kept = pending_.size();
  pending_.resize(kept + read_size);
  const ssize_t n = read(from_child_, pending_.data() + kept, read_size);
  pending_.resize(kept + static_cast<size_t>(std::max<ssize_t>(n, 0)));
  if (n <= 0) return false;
  most_buffered_ = std::max(most_buffered_, pending_.size());
  const unsigned reading = starts_;
  for (size_t end; (end = pending_.find('\n', pending_from_)) != std::string::npos;) {
    const std::string line = pending_.substr(pending_from_, end - pending_from_);
    pending_from_ = end + 1;
    listener.said(line);
    // The listener may have ended the engine, or even started it afresh.
    if (from_child_ < 0 || starts_ != reading) return true;
  }
  if (pending_.size() - pending_from_ > static_cast<size_t>(longest_engine_line)) {
    pending_from_ = pending_.size();
    listener.overflowed();
  }
  return true;
}

void PipeEngine::check_deadline(EngineListener& listener) {
  if (!armed_ || std::chrono::steady_clock::now() < deadline_) return;
  armed_ = false;
  listener.deadline_passed();
}

void PipeEngine::serve(EngineListener& listener) {
  while (listener.awaiting()) {
    if (from_child_ < 0) {
      // No process to wait on: the listener hears of its end, and unless
      // that starts one again nothing more can come.
      listener.ended();
      if (from_child_ < 0) break;
      continue;
    }
    int timeout = -1;
    if (armed_) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(
          deadline_ - std::chrono::steady_clock::now());
      timeout = static_cast<int>(std::max<long long>(0, left.count()));
    }
    pollfd p{from_child_, POLLIN, 0};
    const int ready = poll(&p, 1, timeout);
    if (ready > 0 && !read_available(listener)) {
      end();
      listener.ended();
      continue;
    }
    // An engine that never stops writing never lets the pipe go quiet:
    // the deadline is looked at after every read too.
    check_deadline(listener);
  }
}

}  // namespace nirvex
