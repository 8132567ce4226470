# Writes the log from several threads at once.
set(OLP_TEST_LABELS unit threads)
