pabuko_bench(waves_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/WavesBench.cpp LIBS pabuko_engine)
