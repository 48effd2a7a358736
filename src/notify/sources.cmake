# Notification: the SMTP client, the report composer and dispatcher, the report sections, the
# notification window's model, its schedule and the outbox of messages to try again. Part of
# volmara_core.
target_sources(volmara_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mail_outbox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mail_port_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notify_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_sections.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smtp_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smtp_login.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smtp_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smtp_wire.cpp
)
