# Tests of the preferences file's reader and writer.

# Saves the preferences in a loop until killed; the kill test runs it.
add_executable(prefs_save_loop prefs_save_loop.cpp SaveLoopValues.h)
target_link_libraries(prefs_save_loop PRIVATE vidurara_prefs vidurara_warnings)

vidurara_add_test(NAME test_prefs_file SOURCES test_prefs_file.cpp SaveLoopValues.h
  LIBS vidurara_prefs TIMEOUT 120)
target_compile_definitions(test_prefs_file PRIVATE PREFS_SAVE_LOOP="$<TARGET_FILE:prefs_save_loop>")
add_dependencies(test_prefs_file prefs_save_loop)
