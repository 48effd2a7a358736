# The clips and the alert sound lie beside the program, where it looks them up. Included from
# src/ui/CMakeLists.txt once the `volmara` target exists; copied on every build of the program
# (only what changed), so an edited asset reaches the build without a relink.
set(volmara_assets ${CMAKE_CURRENT_LIST_DIR})
add_custom_target(volmara_media
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:volmara>/sound
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${volmara_assets}/spin.avi ${volmara_assets}/alert.avi
          $<TARGET_FILE_DIR:volmara>
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${volmara_assets}/sound/alert.WAV $<TARGET_FILE_DIR:volmara>/sound
  VERBATIM
)
add_dependencies(volmara volmara_media)
