# Raw volume reads, file-system probing and drive attributes on Linux; part of volmara_platform.
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/block_device_facts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_system_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_raw_volumes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_volume_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/read_only_volume.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volume_location.cpp
)
target_link_libraries(volmara_platform PRIVATE PkgConfig::BLKID PkgConfig::MOUNT)
