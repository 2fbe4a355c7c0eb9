# The soundfont reduced to a track's instruments (any installed soundfont is read).
pabuko_fuzzer(fuzz_soundfont ${CMAKE_CURRENT_LIST_DIR}/SoundFontFuzz.cpp)
