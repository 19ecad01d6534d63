# The help window's background pictures: drawn by the helpart tool and written as JPEG into
# System/, where the window reads them.
set(QJ_HELP_PICTURES ${QJ_PROGRAM_DIR}/System/help1.jpg ${QJ_PROGRAM_DIR}/System/help2.jpg
                     ${QJ_PROGRAM_DIR}/System/help3.jpg)
add_custom_command(
  OUTPUT ${QJ_HELP_PICTURES}
  COMMAND helpart ${QJ_PROGRAM_DIR}/System
  DEPENDS helpart
  COMMENT "Drawing the help window's pictures"
  VERBATIM)
list(APPEND QJ_PROGRAM_FILES ${QJ_HELP_PICTURES})
