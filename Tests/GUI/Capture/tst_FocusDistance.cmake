# The focus distance widget alone: slider curve, timers, typed distances.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS unit gui)
