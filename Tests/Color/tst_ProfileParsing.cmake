# Hostile and randomly damaged profiles, from bytes and from files.
set(OLP_TEST_LIBS olp_color)
set(OLP_TEST_TIMEOUT 300)
