# Image list files and the pictures inside them.
pabuko_fuzzer(fuzz_image_list ${CMAKE_CURRENT_LIST_DIR}/ImageListFuzz.cpp)
pabuko_fuzzer(fuzz_picture ${CMAKE_CURRENT_LIST_DIR}/PictureFuzz.cpp)

# Writes starting inputs for fuzzers into DIR/<fuzzer>/; scripts/fuzz-smoke.sh runs it.
add_executable(make_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/MakeSeeds.cpp)
target_link_libraries(make_fuzz_seeds PRIVATE pabuko_engine)
target_include_directories(make_fuzz_seeds PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# The chatter and music seeds are made from the game's own sources.
target_compile_definitions(make_fuzz_seeds PRIVATE PABUKO_CONTENT_DIR="${CMAKE_SOURCE_DIR}/content")
