# The camera window through the whole application: controller thread, USB transport, emulated cameras.
set(OLP_TEST_LIBS olp_testgui)
set(OLP_TEST_LABELS gui emulator)
set(OLP_TEST_TIMEOUT 300)
