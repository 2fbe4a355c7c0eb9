pabuko_fuzzer(levels_fuzzer ${CMAKE_CURRENT_LIST_DIR}/LevelFileFuzz.cpp)
