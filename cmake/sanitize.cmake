# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# when NIRVEX_SANITIZE is on.  The standard library's own checks are
# switched on too, so that an index past the end of a std::array (a square
# off the board) stops the program instead of reading a neighbour row.
option(NIRVEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(NIRVEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS)
  add_link_options(-fsanitize=address,undefined)
endif()
