# Tests of the Preferences window.
