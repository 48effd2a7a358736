# The settings wizard's window over its model; part of volmara_ui (included from src/ui/CMakeLists.txt).
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_wizard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_wizard.h
  ${CMAKE_CURRENT_LIST_DIR}/wizard_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wizard_pages.h
)
