# The system-information family: what the notification report reads from the machine.
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/command_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_output.h
  ${CMAKE_CURRENT_LIST_DIR}/journal_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_info_posix.cpp
)
target_link_libraries(volmara_platform PRIVATE PkgConfig::SYSTEMD)
