set(OLP_TEST_LIBS olp_artwork)
set(OLP_TEST_LABELS gui)
