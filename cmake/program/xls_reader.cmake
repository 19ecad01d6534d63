# The reader of legacy .xls files: a program of its own beside the program's executable,
# which starts it for each such file (src/office/xls_cells.h).
add_executable(qjroute-xls ${CMAKE_SOURCE_DIR}/src/app/xls_reader_main.cpp)
qj_use_floor(qjroute-xls office)
set_target_properties(qjroute-xls PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QJ_PROGRAM_DIR})
list(APPEND QJ_PROGRAM_TARGETS qjroute-xls)
