# The about box; part of volmara_ui.
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_about_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_about_window.h
)
