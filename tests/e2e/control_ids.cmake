# Writes the "NAME=value" lines that control_ids.cpp leaves in its library
# as a shell file.
#   cmake -DLIBRARY=<control_ids library> -DOUTPUT=<control_ids.sh> -P control_ids.cmake
file(STRINGS "${LIBRARY}" lines REGEX "^[A-Z_]+=[0-9]+$")
if(NOT lines)
  message(FATAL_ERROR "no control identifiers in ${LIBRARY}")
endif()
list(JOIN lines "\n" text)
file(WRITE "${OUTPUT}" "# Written by the build from tests/e2e/control_ids.cpp; sourced by dialogs.sh.\n${text}\n")
