# The controller thread as the application runs it.
set(OLP_TEST_LABELS unit threads)
