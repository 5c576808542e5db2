#include "ui/program_modules.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace nirvex {

namespace {

// Where the modules lie, seen from the program's folder.
const char* const modules_from_program = NIRVEX_MODULES_FROM_PROGRAM;

}  // namespace

// The program's own file, whatever folder it was started from.
std::string module_path(const char* name) {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return (program.parent_path() / modules_from_program / (std::string(name) + ".so"))
      .lexically_normal()
      .string();
}

// A module stays loaded for the rest of the run: what it made may live as
// long.  The system's loader counts and locks the loads itself.
void* module_symbol(const char* name, const char* symbol) {
  void* module = dlopen(module_path(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  return module ? dlsym(module, symbol) : nullptr;
}

}  // namespace nirvex
