// Another engine program run as a child process and spoken to by lines
// over pipes.
#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>

namespace nirvex::testing {

class EnginePipe {
 public:
  // Starts `program`; running() tells whether that worked.
  explicit EnginePipe(const std::string& program);
  // Says "quit", closes the pipes and waits for the child.
  ~EnginePipe();
  EnginePipe(const EnginePipe&) = delete;
  EnginePipe& operator=(const EnginePipe&) = delete;

  bool running() const { return to_child_ != nullptr && from_child_ != nullptr; }

  // Sends one line.
  void send(const std::string& line);
  // Reads one line without its end; false at the end of the child's output.
  bool read_line(std::string& line);

 private:
  pid_t pid_ = -1;
  std::FILE* to_child_ = nullptr;
  std::FILE* from_child_ = nullptr;
};

}  // namespace nirvex::testing
