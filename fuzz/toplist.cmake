# The top list file (toplist.dat).
pabuko_fuzzer(fuzz_toplist ${CMAKE_CURRENT_LIST_DIR}/TopListFuzz.cpp)
