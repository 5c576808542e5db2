// nirvex-usi: drives the game's rules and analysis over the USI protocol on
// standard input and output.
#include <exception>
#include <iostream>
#include <string>

#include "tools/usi/usi_session.h"

// Reads commands line by line until "quit" or the end of input.
int main() {
  std::ios::sync_with_stdio(false);
  nirvex::UsiSession session;
  std::string line;
  while (std::getline(std::cin, line)) {
    bool go_on = true;
    try {
      go_on = session.handle(line, std::cout);
    } catch (const std::exception& e) {
      std::cout << "info string error " << e.what() << '\n';
    }
    std::cout.flush();
    if (!go_on) break;
  }
  return 0;
}
