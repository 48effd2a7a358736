# Shell and system integration: the tray icon, the program lock, the registry keys and the
# start-up entry, the update check and the about box; part of volmara_core.
target_sources(volmara_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_about.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sys_work_systray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/update_check.cpp
)
# The version and the update site come from the build.
string(REPLACE "\\" "\\\\" VOLMARA_UPDATE_URL_LITERAL "${VOLMARA_UPDATE_URL}")
string(REPLACE "\"" "\\\"" VOLMARA_UPDATE_URL_LITERAL "${VOLMARA_UPDATE_URL_LITERAL}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/build_info.h.in ${CMAKE_BINARY_DIR}/generated/shell/build_info.h @ONLY)
target_include_directories(volmara_core PUBLIC ${CMAKE_BINARY_DIR}/generated)
