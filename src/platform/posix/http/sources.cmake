# HTTP (the update page) over libcurl and the reachability test; part of volmara_platform.
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../http_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_route.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_route.h
)
target_link_libraries(volmara_platform PRIVATE PkgConfig::CURL)
