pabuko_bench(frame_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameBench.cpp LIBS pabuko_ui)
target_compile_definitions(frame_bench PRIVATE PABUKO_BUILD_DIR="${CMAKE_BINARY_DIR}")
