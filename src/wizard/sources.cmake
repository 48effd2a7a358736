# The settings wizard's model. Part of volmara_core.
target_sources(volmara_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/wizard_model.cpp
)
