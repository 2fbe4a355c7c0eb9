# ctest driver: pabuko-tool levels pack SRC without OUT writes the set into the player's own
# folder under XDG_DATA_HOME (creating it), the game's loader finds it there by its name, and
# a source named like a shipped set is refused and writes nothing.
set(home ${WORK}/data-home)
file(REMOVE_RECURSE ${home})
set(ENV{XDG_DATA_HOME} ${home})
execute_process(COMMAND ${TOOL} levels pack ${SRC} RESULT_VARIABLE rc OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
get_filename_component(name ${SRC} NAME_WE)
set(packed ${home}/pabuko/levels/${name}.qvl)
if(NOT rc EQUAL 0 OR NOT EXISTS ${packed})
    message(FATAL_ERROR "pack into the player's folder failed (${rc}): ${err}")
endif()
execute_process(COMMAND ${TOOL} levels dump --root ${ROOT} ${name}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(JSON count GET "${out}" LevelCount)
if(NOT rc EQUAL 0 OR NOT count EQUAL 2)
    message(FATAL_ERROR "the packed set did not load (${rc}, ${count} levels): ${err}")
endif()

file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${SRC} ${WORK}/zvirata.txt)
execute_process(COMMAND ${TOOL} levels pack ${WORK}/zvirata.txt RESULT_VARIABLE rc
    ERROR_VARIABLE err)
if(rc EQUAL 0 OR EXISTS ${home}/pabuko/levels/zvirata.qvl)
    message(FATAL_ERROR "packed a set named like a shipped one: ${err}")
endif()
