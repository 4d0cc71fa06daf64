# Tests of the overlay window, drawing context and drawing surface.
