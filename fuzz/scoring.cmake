# The scoring rules file (.qvlb).
pabuko_fuzzer(fuzz_scoring ${CMAKE_CURRENT_LIST_DIR}/ScoringFileFuzz.cpp)
