# The program lock's window; part of volmara_ui.
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_lock_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_lock_window.h
)
