// Talking to the console tool in tests: one command in, the lines it
// printed out.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/usi/usi_session.h"

namespace nirvex {

// Hands one command to the session and returns what it printed, a line each.
inline std::vector<std::string> console_lines(UsiSession& session, const std::string& command) {
  std::ostringstream out;
  session.handle(command, out);
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace nirvex
