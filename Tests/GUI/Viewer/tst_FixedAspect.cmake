# Windows that keep their picture's aspect ratio.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS unit gui)
