pabuko_bench(images_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImagesBench.cpp LIBS pabuko_engine)
target_compile_definitions(images_bench PRIVATE PABUKO_BUILD_DIR="${CMAKE_BINARY_DIR}")
