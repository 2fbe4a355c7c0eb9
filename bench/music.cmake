pabuko_bench(music_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/MusicBench.cpp LIBS pabuko_platform)
target_compile_definitions(music_bench PRIVATE PABUKO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
