# Tests of the circle overlay, the Control Panel and its tracking loop.
vidurara_add_test(NAME test_tracking SOURCES test_tracking.cpp LIBS vidurara_circle GUI TIMEOUT 120)

vidurara_add_test(NAME test_tracking_blackbox SOURCES test_tracking_blackbox.cpp
                  LIBS Qt6::Widgets GUI TIMEOUT 240)
target_compile_definitions(test_tracking_blackbox PRIVATE VIDURARA_EXECUTABLE="$<TARGET_FILE:vidurara>")
add_dependencies(test_tracking_blackbox vidurara)
