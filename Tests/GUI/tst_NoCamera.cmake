# The no-camera window's cause line through the whole application: controller thread, USB transport, emulated camera.
set(OLP_TEST_LIBS olp_testgui)
set(OLP_TEST_LABELS gui emulator)
set(OLP_TEST_TIMEOUT 120)
