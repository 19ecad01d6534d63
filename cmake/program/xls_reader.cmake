# The reader of legacy .xls files: a program of its own beside the program's executable,
# which starts it for each such file (src/office/xls_cells.h).
add_executable(qjroute-xls ${CMAKE_SOURCE_DIR}/src/app/xls_reader_main.cpp)
qj_use_floor(qjroute-xls office)
set_target_properties(qjroute-xls PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QJ_PROGRAM_DIR})
list(APPEND QJ_PROGRAM_TARGETS qjroute-xls)
# The tests and the benchmarks, built beside the program folder, find the reader beside them
# as the program does.
file(RELATIVE_PATH QJ_XLS_READER_LINK ${CMAKE_BINARY_DIR} ${QJ_PROGRAM_DIR}/qjroute-xls)
add_custom_command(
  TARGET qjroute-xls POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E create_symlink ${QJ_XLS_READER_LINK} ${CMAKE_BINARY_DIR}/qjroute-xls
  VERBATIM)
