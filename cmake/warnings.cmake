# One place for the warning set; every target links volmara_warnings.
add_library(volmara_warnings INTERFACE)
target_compile_options(volmara_warnings INTERFACE -Wall -Wextra -Wpedantic)
# GCC 12 at -O3 reports overlaps in plain std::string concatenation that cannot happen (its bug
# 105329); the warning would fail optimised builds for nothing.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(volmara_warnings INTERFACE -Wno-restrict)
endif()
if(VOLMARA_WERROR)
  target_compile_options(volmara_warnings INTERFACE -Werror)
endif()
if(VOLMARA_SANITIZE)
  target_compile_options(volmara_warnings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(volmara_warnings INTERFACE -fsanitize=address,undefined)
endif()
