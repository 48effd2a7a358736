# The notification window over its model; part of volmara_ui (included from src/ui/CMakeLists.txt).
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_notify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_notify.h
  ${CMAKE_CURRENT_LIST_DIR}/notify_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notify_pages.h
  ${CMAKE_CURRENT_LIST_DIR}/notify_widgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notify_widgets.h
)
