# The skins' chatter files (skins/*.qvt) and the LED line that shows them.
pabuko_fuzzer(fuzz_chatter ${CMAKE_CURRENT_LIST_DIR}/ChatterFuzz.cpp)
