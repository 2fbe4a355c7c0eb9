# ctest driver: pabuko-tool levels pack must refuse SRC with "SRC:LINE: " on standard
# error, exit non-zero and write nothing.
file(REMOVE ${OUT})
execute_process(COMMAND ${TOOL} levels pack ${SRC} ${OUT} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
    message(FATAL_ERROR "accepted ${SRC}")
endif()
string(FIND "${err}" "${SRC}:${LINE}: " at)
if(NOT at EQUAL 0)
    message(FATAL_ERROR "expected the reason for line ${LINE} of ${SRC}, got: ${err}")
endif()
if(EXISTS ${OUT})
    message(FATAL_ERROR "wrote ${OUT} although it refused the source")
endif()
