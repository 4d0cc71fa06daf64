# Tests of the preferences file's reader and writer.
