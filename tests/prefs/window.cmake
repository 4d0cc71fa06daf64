# Tests of the Preferences window.
vidurara_add_test(NAME test_prefwindow SOURCES test_prefwindow.cpp LIBS vidurara_prefs GUI
                  TIMEOUT 180)
# With the whole program running: the ring follows each change.
vidurara_add_test(NAME test_prefwindow_ring SOURCES test_prefwindow_ring.cpp LIBS vidurara_app GUI
                  TIMEOUT 180)
