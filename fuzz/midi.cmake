# The frame check of the music files (music/*.mid).
pabuko_fuzzer(fuzz_midi ${CMAKE_CURRENT_LIST_DIR}/MidiFrameFuzz.cpp)
