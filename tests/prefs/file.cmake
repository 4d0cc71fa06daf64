# Tests of the preferences file's reader and writer.

# Saves the preferences in a loop until killed; the kill test runs it.
add_executable(prefs_save_loop prefs_save_loop.cpp SaveLoopValues.h)
target_link_libraries(prefs_save_loop PRIVATE vidurara_prefs vidurara_warnings)

vidurara_add_test(NAME test_prefs_file SOURCES test_prefs_file.cpp SaveLoopValues.h
  LIBS vidurara_prefs TIMEOUT 120)
target_compile_definitions(test_prefs_file PRIVATE PREFS_SAVE_LOOP="$<TARGET_FILE:prefs_save_loop>")
add_dependencies(test_prefs_file prefs_save_loop)

# The reader under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer. It is
# built by clang at test time, apart from the program's own compiler and flags.
find_program(VIDURARA_CLANGXX NAMES clang++ clang++-14)
if(NOT VIDURARA_CLANGXX)
  set(VIDURARA_CLANGXX clang++)
endif()
set(VIDURARA_FUZZ_SECONDS 25 CACHE STRING "How long the test suite fuzzes the preferences reader")
add_test(NAME fuzz_prefs_reader
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/run_fuzz.sh ${VIDURARA_CLANGXX}
          ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/fuzz ${VIDURARA_FUZZ_SECONDS})
set_tests_properties(fuzz_prefs_reader PROPERTIES TIMEOUT 240)
