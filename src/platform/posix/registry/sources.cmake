# The registry keys the program uses, on a freedesktop.org desktop; part of volmara_platform.
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../registry_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/autostart_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/autostart_entry.h
)
