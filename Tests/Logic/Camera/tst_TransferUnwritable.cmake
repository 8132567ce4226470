# Picture transfer with no writable folder at all (home set to /proc).
set(OLP_TEST_LABELS unit emulator)
