pabuko_bench(levels_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/LevelLoadBench.cpp LIBS pabuko_engine)
