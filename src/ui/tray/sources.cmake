# The tray icon over QSystemTrayIcon; part of volmara_ui.
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/tray_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray_icon.h
)
