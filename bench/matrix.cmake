pabuko_bench(matrix_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/MatrixBench.cpp LIBS pabuko_engine)
