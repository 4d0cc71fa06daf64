# Tests of the overlay window, drawing context and drawing surface.
vidurara_add_test(NAME test_overlay_screen SOURCES test_overlay_screen.cpp
  LIBS vidurara_circle vidurara_platform GUI TIMEOUT 120)
vidurara_add_test(NAME test_surface SOURCES test_surface.cpp LIBS vidurara_circle)
vidurara_add_test(NAME test_surface_mouse SOURCES test_surface_mouse.cpp LIBS vidurara_circle)
