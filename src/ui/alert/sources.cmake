# The alert dialog, the animation and the sound; part of volmara_ui (included from src/ui/CMakeLists.txt).
find_package(Qt6 REQUIRED COMPONENTS Multimedia)
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/animation_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/animation_view.h
  ${CMAKE_CURRENT_LIST_DIR}/press_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/press_label.h
  ${CMAKE_CURRENT_LIST_DIR}/dlg_alert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dlg_alert.h
  ${CMAKE_CURRENT_LIST_DIR}/shell_icons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_icons.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/qt_sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/qt_sound.h
)
target_link_libraries(volmara_ui PUBLIC Qt6::Multimedia)
