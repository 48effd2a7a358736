# Starting programs and opening documents on Linux; part of volmara_platform.
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/shell_posix.cpp
)
