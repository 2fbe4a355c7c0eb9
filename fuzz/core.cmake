pabuko_fuzzer(rules_fuzzer ${CMAKE_CURRENT_LIST_DIR}/RulesFuzz.cpp)
