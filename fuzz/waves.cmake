# Wave list files and the RIFF wave payloads inside them, played through the mixer.
pabuko_fuzzer(fuzz_wavelist ${CMAKE_CURRENT_LIST_DIR}/WaveListFuzz.cpp)
