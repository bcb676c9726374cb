# cmake -DGROFF=groff -DPAGE=file.1 -P checkman.cmake: formats a man page
# with every groff warning on and fails on any warning, since groff itself
# ends with 0 after one. The pages are UTF-8, hence preconv (-k).
if(NOT GROFF OR NOT PAGE)
  message(FATAL_ERROR "usage: cmake -DGROFF=groff -DPAGE=file.1 -P checkman.cmake")
endif()
execute_process(COMMAND ${GROFF} -k -man -Tutf8 -ww -z ${PAGE}
  RESULT_VARIABLE rc ERROR_VARIABLE warnings)
if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "${PAGE}: groff ended with ${rc}\n${warnings}")
endif()
