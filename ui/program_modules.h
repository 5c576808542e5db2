// Parts of the program kept in libraries of their own beside it, loaded
// when they are first needed instead of at start: the evaluation graph
// (with Qt Charts) and the sound library (with SDL2).  They lie at a fixed
// place relative to the program, in the build tree as in any installed
// prefix.
#pragma once

#include <string>

namespace nirvex {

// The file of the program's module `name` ("nirvex-graph").
std::string module_path(const char* name);

// The address of `symbol` in the module `name`, loaded the first time it
// is asked for; null when the module or the symbol cannot be found.  Any
// thread may ask.
void* module_symbol(const char* name, const char* symbol);

}  // namespace nirvex
