# Runs one scenario script in a fresh program folder and checks the result.
#   cmake -DTOOL=pabuko-tool -DSCRIPT=file.txt -DWORK=dir -DDATA=build/data -P RunScenario.cmake
# The script prepares its folder and states what must hold after the run in "#!" lines
# (comments to the tool itself):
#   #! set NAME SOURCE.txt         fixtures/SOURCE.txt packed into data/levels/NAME.qvl
#   #! scoring NAME RULES.json     fixtures/RULES.json packed into data/levels/NAME.qvlb
#   #! shipped NAME                the built data/levels/NAME.qvl (and .qvlb) copied in
#   #! write FILE TEXT...          FILE (relative to the folder) holds TEXT
#   #! exit N                      the run's exit status (default 0)
#   #! stderr TEXT...              standard error, exactly (default: empty)
#   #! exists FILE / absent FILE   after the run
#   #! toplist FILE EXPECTED.json  `toplist dump FILE` prints fixtures/EXPECTED.json
# When NAME.expected lies beside the script, standard output must equal it.
cmake_minimum_required(VERSION 3.25)

get_filename_component(script_dir ${SCRIPT} DIRECTORY)
get_filename_component(script_name ${SCRIPT} NAME)
get_filename_component(script_stem ${SCRIPT} NAME_WE)
set(fixtures ${script_dir}/fixtures)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/data/levels)

function(run_tool)
    execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "pabuko-tool ${ARGN} failed (${rc}):\n${out}${err}")
    endif()
    set(tool_output "${out}" PARENT_SCOPE)
endfunction()

set(expected_exit 0)
set(expected_stderr "")
set(checks "")
file(STRINGS ${SCRIPT} directives REGEX "^#!")
foreach(line IN LISTS directives)
    # (REGEX REPLACE would apply "^" again after each match.)
    string(REGEX MATCH "^#![ \t]*([^ \t]*)[ \t]*(.*)$" line "${line}")
    set(verb "${CMAKE_MATCH_1}")
    set(rest "${CMAKE_MATCH_2}")
    string(REGEX REPLACE "[ \t]+" ";" args "${rest}")
    list(LENGTH args argc)
    if(verb STREQUAL "set" AND argc EQUAL 2)
        list(GET args 0 name)
        list(GET args 1 source)
        run_tool(levels pack ${fixtures}/${source} ${WORK}/data/levels/${name}.qvl)
    elseif(verb STREQUAL "scoring" AND argc EQUAL 2)
        list(GET args 0 name)
        list(GET args 1 source)
        run_tool(levels scoring ${fixtures}/${source} ${WORK}/data/levels/${name}.qvlb)
    elseif(verb STREQUAL "shipped" AND argc EQUAL 1)
        foreach(ext qvl qvlb)
            if(EXISTS ${DATA}/levels/${rest}.${ext})
                file(COPY ${DATA}/levels/${rest}.${ext} DESTINATION ${WORK}/data/levels)
            endif()
        endforeach()
        if(NOT EXISTS ${WORK}/data/levels/${rest}.qvl)
            message(FATAL_ERROR "the build has no data/levels/${rest}.qvl")
        endif()
    elseif(verb STREQUAL "write" AND argc GREATER_EQUAL 1)
        list(GET args 0 target)
        string(REGEX MATCH "^[^ \t]+[ \t]*(.*)$" text "${rest}")
        set(text "${CMAKE_MATCH_1}")
        file(WRITE ${WORK}/${target} "${text}")
    elseif(verb STREQUAL "exit" AND argc EQUAL 1)
        set(expected_exit ${rest})
    elseif(verb STREQUAL "stderr")
        set(expected_stderr "${rest}\n")
    elseif(verb MATCHES "^(exists|absent|toplist)$")
        list(APPEND checks "${verb}|${rest}")
    else()
        message(FATAL_ERROR "${script_name}: cannot read the directive '${line}'")
    endif()
endforeach()

# FILE in the tool's messages is the name as given: run beside the script.
execute_process(COMMAND ${TOOL} scenario ${script_name} --root ${WORK}
                WORKING_DIRECTORY ${script_dir}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(WRITE ${WORK}/stdout.txt "${out}")

set(failures "")
if(NOT rc STREQUAL expected_exit)
    string(APPEND failures "exit status ${rc}, expected ${expected_exit}\n")
endif()
if(NOT err STREQUAL expected_stderr)
    string(APPEND failures "standard error:\n${err}expected:\n${expected_stderr}")
endif()
if(EXISTS ${script_dir}/${script_stem}.expected)
    file(READ ${script_dir}/${script_stem}.expected expected_out)
    if(NOT out STREQUAL expected_out)
        string(APPEND failures
               "standard output (in ${WORK}/stdout.txt) differs from ${script_stem}.expected\n")
    endif()
endif()
foreach(check IN LISTS checks)
    string(REPLACE "|" ";" parts "${check}")
    list(GET parts 0 verb)
    list(GET parts 1 rest)
    string(REGEX REPLACE "[ \t]+" ";" args "${rest}")
    list(GET args 0 target)
    if(verb STREQUAL "exists" AND NOT EXISTS ${WORK}/${target})
        string(APPEND failures "${target} is missing after the run\n")
    elseif(verb STREQUAL "absent" AND EXISTS ${WORK}/${target})
        string(APPEND failures "${target} exists after the run\n")
    elseif(verb STREQUAL "toplist")
        list(GET args 1 expected_file)
        execute_process(COMMAND ${TOOL} toplist dump ${WORK}/${target}
                        RESULT_VARIABLE trc OUTPUT_VARIABLE tout ERROR_VARIABLE terr)
        file(READ ${fixtures}/${expected_file} texpected)
        if(NOT trc EQUAL 0 OR NOT tout STREQUAL texpected)
            string(APPEND failures
                   "toplist dump ${target} (${trc}):\n${tout}${terr}expected:\n${texpected}")
        endif()
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "${script_name}:\n${failures}\nstandard output:\n${out}")
endif()
