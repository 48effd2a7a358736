# The network family: TCP client sockets for the mail conversation.
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/network_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_tcp_socket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_tcp_socket.h
)
