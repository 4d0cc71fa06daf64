# Tests of the overlay window, drawing context and drawing surface.
vidurara_add_test(NAME test_overlay_screen SOURCES test_overlay_screen.cpp
  LIBS vidurara_circle vidurara_platform GUI TIMEOUT 120)
vidurara_add_test(NAME test_surface SOURCES test_surface.cpp LIBS vidurara_circle)
vidurara_add_test(NAME test_surface_mouse SOURCES test_surface_mouse.cpp LIBS vidurara_circle)
# Without a window manager nothing keeps the overlay on top but its own raising.
add_test(NAME test_overlay_screen_no_wm
  COMMAND ${VIDURARA_XSESSION} --no-wm -- $<TARGET_FILE:test_overlay_screen>)
set_tests_properties(test_overlay_screen_no_wm PROPERTIES TIMEOUT 120)
# Qt scaling the interface: positions are Qt's pixels, the window system's are finer.
add_test(NAME test_overlay_screen_scaled
  COMMAND ${VIDURARA_XSESSION} -- $<TARGET_FILE:test_overlay_screen>)
set_tests_properties(test_overlay_screen_scaled PROPERTIES TIMEOUT 120
  ENVIRONMENT "QT_SCALE_FACTOR=1.5")
