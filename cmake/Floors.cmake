# One static library per floor of the code (src/floors.txt names the floors and what each
# stands on). A floor's sources see the headers of their own folder and of the floors below
# through an include folder of their own in the build tree, build/floors/<library>/, that
# holds a link to each of those headers and to nothing else: an include of a higher floor, or
# of a sibling, is not found and the build stops there. The core floors link no Qt, so a Qt
# include in the core does not build either.
#
# Links are made per header, not per folder: a link to a core folder would also show its
# ui/ folder. Headers are found anew whenever a folder's headers change; sources are listed.

set(QJ_FLOORS_FILE ${PROJECT_SOURCE_DIR}/src/floors.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QJ_FLOORS_FILE})
file(STRINGS ${QJ_FLOORS_FILE} qj_floor_lines REGEX "^[a-z_/]+:")
foreach(line ${qj_floor_lines})
  string(REGEX MATCH "^([a-z_/]+):(.*)$" unused "${line}")
  set(folder ${CMAKE_MATCH_1})
  string(REGEX MATCHALL "[a-z_/]+" below "${CMAKE_MATCH_2}")
  set(QJ_FLOOR_BELOW_${folder} "${below}")
  set(QJ_FLOOR_KNOWN_${folder} TRUE)
endforeach()

# With QJ_UNITY a floor's sources are compiled in batches, each batch as one file: most of a
# source's build is the headers it shares with its neighbours. Sources whose file-local names
# or aliases meet a neighbour's are compiled alone.
set(QJ_UNITY_ALONE office/xls_reader.cpp office/xlsx_writer.cpp dbrn/streets_step.cpp
    dbrn/turns_step.cpp task/points_step.cpp dbrn/ui/dbrn_workbooks.cpp)

# The library of a folder: qj_<folder>, a "/" becoming "_" (qj_task_ui for task/ui).
function(qj_floor_target folder out)
  string(REPLACE "/" "_" name "qj_${folder}")
  set(${out} ${name} PARENT_SCOPE)
endfunction()

#   qj_floor(<folder> SOURCES <files of the folder> [LIBS <libs>] [PRIVATE_LIBS <libs>])
# The library of src/<folder>; it links the floors that src/floors.txt puts under it.
function(qj_floor folder)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  if(NOT QJ_FLOOR_KNOWN_${folder})
    message(FATAL_ERROR "src/${folder} has no line in src/floors.txt")
  endif()
  qj_floor_target(${folder} target)
  list(TRANSFORM F_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/${folder}/)
  add_library(${target} STATIC ${F_SOURCES})
  if(CMAKE_AUTOMOC)
    qj_qt_generated_code(${target})
  endif()
  if(QJ_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON)
    set(alone ${QJ_UNITY_ALONE})
    list(TRANSFORM alone PREPEND ${PROJECT_SOURCE_DIR}/src/)
    set_source_files_properties(${alone} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()

  set(floors "")
  set(folders ${folder})
  foreach(below ${QJ_FLOOR_BELOW_${folder}})
    qj_floor_target(${below} below_target)
    if(NOT TARGET ${below_target})
      message(FATAL_ERROR "src/${folder} stands on src/${below}: define ${below_target} first")
    endif()
    list(APPEND floors ${below_target})
    get_target_property(theirs ${below_target} QJ_FOLDERS)
    list(APPEND folders ${theirs})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  target_link_libraries(${target} PUBLIC ${floors} ${F_LIBS} PRIVATE ${F_PRIVATE_LIBS})

  set(root ${PROJECT_BINARY_DIR}/floors/${target})
  file(REMOVE_RECURSE ${root})
  foreach(each ${folders})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${each}/*.h)
    file(MAKE_DIRECTORY ${root}/${each})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${each}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
  set_target_properties(${target} PROPERTIES QJ_FOLDERS "${folders}" QJ_ROOT ${root})
endfunction()

# A program or library outside src/ that stands on one floor: it links that floor and sees
# the same headers as the floor's own sources.
function(qj_use_floor target folder)
  qj_floor_target(${folder} floor)
  get_target_property(root ${floor} QJ_ROOT)
  target_link_libraries(${target} PRIVATE ${floor})
  target_include_directories(${target} PRIVATE ${root})
endfunction()
