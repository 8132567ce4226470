# The folder field with its message boxes and browse dialog, driven as a user would.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS gui)
