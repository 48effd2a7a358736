# The "Spec." page's specified files and programs, the clean-up commands and the properties window.
find_package(Qt6 REQUIRED COMPONENTS DBus)
target_sources(volmara_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/file_drop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/properties_sheet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/specified_files_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/specified_programs_page.cpp
)
target_link_libraries(volmara_ui PUBLIC Qt6::DBus)
