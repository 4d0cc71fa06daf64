# Tests of the circle overlay, the Control Panel and its tracking loop.
vidurara_add_test(NAME test_tracking SOURCES test_tracking.cpp LIBS vidurara_circle GUI TIMEOUT 120)
