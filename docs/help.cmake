# The help page and its pictures lie beside the program: help.html and help/*.png in the folder
# of the `volmara` executable. Included from src/ui/CMakeLists.txt once the target exists; copied
# on every build of the program (only what changed), as the clips are.
set(volmara_help ${CMAKE_CURRENT_LIST_DIR})
file(GLOB volmara_help_pictures CONFIGURE_DEPENDS ${volmara_help}/help/*.png)
set(volmara_help_copy_pictures)
if(volmara_help_pictures)
  set(volmara_help_copy_pictures
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${volmara_help_pictures} $<TARGET_FILE_DIR:volmara>/help)
endif()
add_custom_target(volmara_help
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:volmara>/help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${volmara_help}/help.html $<TARGET_FILE_DIR:volmara>
  ${volmara_help_copy_pictures}
  VERBATIM
)
add_dependencies(volmara volmara_help)
