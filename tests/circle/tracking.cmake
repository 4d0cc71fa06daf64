# Tests of the circle overlay, the Control Panel and its tracking loop.
