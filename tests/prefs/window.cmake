# Tests of the Preferences window.
vidurara_add_test(NAME test_prefwindow SOURCES test_prefwindow.cpp LIBS vidurara_prefs GUI
                  TIMEOUT 180)
