# The language shells: every shells/<code>.txt is compiled by shellc into
# Shells/Shell (QJ 1.6).<code>, again whenever the source or the compiler changes.
file(GLOB QJ_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shells/*.txt)
foreach(source ${QJ_SHELL_SOURCES})
  get_filename_component(code ${source} NAME_WE)
  set(shell_file "${QJ_PROGRAM_DIR}/Shells/Shell (QJ 1.6).${code}")
  add_custom_command(
    OUTPUT ${shell_file}
    COMMAND shellc ${source} ${shell_file}
    DEPENDS ${source} shellc
    COMMENT "Compiling the language shell ${code}"
    VERBATIM)
  list(APPEND QJ_PROGRAM_FILES ${shell_file})
endforeach()
