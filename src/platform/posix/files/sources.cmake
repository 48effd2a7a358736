# Files, folders and the trash on Linux; part of volmara_platform.
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/file_operations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/os_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/temporary_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trash_posix.cpp
)
target_link_libraries(volmara_platform PRIVATE PkgConfig::GIO)
