# ctest driver: pabuko-tool levels dump loads the shipped standard set through the game's
# loader and prints it as JSON in UTF-8; a set that is not there fails with the game's message.
execute_process(COMMAND ${TOOL} levels dump --root ${ROOT} new
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dump of new failed (${rc}): ${err}")
endif()
string(JSON name GET "${out}" LevelSetName)
string(JSON count GET "${out}" LevelCount)
string(JSON records LENGTH "${out}" Levels)
string(JSON word GET "${out}" Levels 0 Word)
string(JSON question GET "${out}" Levels 0 Question)
string(JSON delay GET "${out}" Levels 0 RowDelay)
string(JSON levelScore GET "${out}" Levels 1 LevelScore)
if(NOT name STREQUAL "new" OR NOT count EQUAL records OR count LESS 20)
    message(FATAL_ERROR "unexpected set: ${name}, ${count} levels, ${records} records")
endif()
math(EXPR expectedDelay "500 - 450 / ${count}")
if(NOT word STREQUAL "KVET" OR NOT question STREQUAL "Jakou barvu mají květy vlčího máku?"
   OR NOT delay EQUAL expectedDelay OR NOT levelScore EQUAL 100)
    message(FATAL_ERROR "level records: ${word} / ${question} / ${delay} / ${levelScore}")
endif()

execute_process(COMMAND ${TOOL} levels dump --root ${ROOT} neni-takova-sada
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "Nebyl nalezen požadovaný soubor s levely")
    message(FATAL_ERROR "a missing set passed (${rc}): ${err}")
endif()
string(JSON count GET "${out}" LevelCount)
if(NOT count EQUAL 0)
    message(FATAL_ERROR "a missing set reported ${count} levels")
endif()
