#include "tests/engine/support/engine_pipe.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace nirvex::testing {

// Forks the program with its input and output on two pipes.
EnginePipe::EnginePipe(const std::string& program) {
  int in_pipe[2], out_pipe[2];
  if (pipe(in_pipe) != 0) return;
  if (pipe(out_pipe) != 0) {
    close(in_pipe[0]);
    close(in_pipe[1]);
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in_pipe[0], STDIN_FILENO);
    dup2(out_pipe[1], STDOUT_FILENO);
    close(in_pipe[0]);
    close(in_pipe[1]);
    close(out_pipe[0]);
    close(out_pipe[1]);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  if (pid_ < 0) {
    close(in_pipe[1]);
    close(out_pipe[0]);
    return;
  }
  std::signal(SIGPIPE, SIG_IGN);
  to_child_ = fdopen(in_pipe[1], "w");
  from_child_ = fdopen(out_pipe[0], "r");
}

// Asks the program to quit and reaps it.
EnginePipe::~EnginePipe() {
  if (to_child_) {
    send("quit");
    std::fclose(to_child_);
  }
  if (from_child_) std::fclose(from_child_);
  if (pid_ > 0) waitpid(pid_, nullptr, 0);
}

// Writes the line and flushes it.
void EnginePipe::send(const std::string& line) {
  if (!to_child_) return;
  std::fputs(line.c_str(), to_child_);
  std::fputc('\n', to_child_);
  std::fflush(to_child_);
}

// Reads up to the next line end, dropping carriage returns.
bool EnginePipe::read_line(std::string& line) {
  line.clear();
  if (!from_child_) return false;
  for (int ch; (ch = std::fgetc(from_child_)) != EOF;) {
    if (ch == '\n') return true;
    if (ch != '\r') line += static_cast<char>(ch);
  }
  return !line.empty();
}

}  // namespace nirvex::testing
