# The individual drive window, its level meters and the painter the core's charts draw on;
# part of volmara_ui (included from src/ui/CMakeLists.txt).
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_ind_dri.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_ind_dri.h
  ${CMAKE_CURRENT_LIST_DIR}/meter2_widget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/meter2_widget.h
  ${CMAKE_CURRENT_LIST_DIR}/painter_surface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/painter_surface.h
)
