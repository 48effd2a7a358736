# The drive information dialog; part of volmara_ui (included from src/ui/CMakeLists.txt).
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dlg_drive_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dlg_drive_info.h
  ${CMAKE_CURRENT_LIST_DIR}/dump_cells.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dump_cells.h
)
target_link_libraries(volmara_ui PUBLIC Qt6::Charts)
