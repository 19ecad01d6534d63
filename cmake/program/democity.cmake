# The demo city: a level-1 and a level-2 system database in every shipped language, written
# into Dbrn/ by the democity tool.
set(QJ_DEMOCITY_FILES "")
foreach(lang eng rus)
  list(APPEND QJ_DEMOCITY_FILES ${QJ_PROGRAM_DIR}/Dbrn/001sys1_dbrn_${lang}.dat
       ${QJ_PROGRAM_DIR}/Dbrn/002sys2_dbrn_${lang}.dat)
endforeach()
add_custom_command(
  OUTPUT ${QJ_DEMOCITY_FILES}
  COMMAND democity ${QJ_PROGRAM_DIR}/Dbrn
  DEPENDS democity
  COMMENT "Generating the demo city databases"
  VERBATIM)
list(APPEND QJ_PROGRAM_FILES ${QJ_DEMOCITY_FILES})
