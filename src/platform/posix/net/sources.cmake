# The network family: TCP client sockets for the mail conversation, with TLS through OpenSSL.
find_package(OpenSSL 3 REQUIRED COMPONENTS SSL)
target_sources(volmara_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/network_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_tcp_socket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_tcp_socket.h
  ${CMAKE_CURRENT_LIST_DIR}/tls_session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tls_session.h
)
target_link_libraries(volmara_platform PRIVATE OpenSSL::SSL)
