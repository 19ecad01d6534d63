# The information file System/info: lines 2, 4 and 6 go into every solution file.
set(QJ_INFO_FILE ${QJ_PROGRAM_DIR}/System/info)
add_custom_command(
  OUTPUT ${QJ_INFO_FILE}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/cmake/program/info.txt ${QJ_INFO_FILE}
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/program/info.txt
  COMMENT "Writing the information file System/info")
list(APPEND QJ_PROGRAM_FILES ${QJ_INFO_FILE})
