# Lays out the program folder beside the executable: the canonical folders, the compiled
# language shells, the demo city, the information file and the .xls reader. Each data step
# adds its outputs to QJ_PROGRAM_FILES, each program built into the folder its target to
# QJ_PROGRAM_TARGETS.
set(QJ_PROGRAM_FILES "")
set(QJ_PROGRAM_TARGETS "")
foreach(folder Shells System Dbrn Data Solving)
  file(MAKE_DIRECTORY ${QJ_PROGRAM_DIR}/${folder})
endforeach()

file(GLOB QJ_PROGRAM_STEPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/program/*.cmake)
foreach(step ${QJ_PROGRAM_STEPS})
  include(${step})
endforeach()

add_custom_target(program_folder ALL DEPENDS ${QJ_PROGRAM_FILES})
add_dependencies(program_folder ${QJ_PROGRAM_TARGETS})
