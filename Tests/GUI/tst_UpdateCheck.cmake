# The update check against a local HTTPS server; the demo camera through the controller thread.
set(OLP_TEST_LIBS olp_testgui)
set(OLP_TEST_LABELS gui emulator)
set(OLP_TEST_TIMEOUT 300)
