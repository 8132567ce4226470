# The viewfinder status widgets, the transfer indicator and the shutter button on their own.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS unit gui)
