# The controller with emulated cameras behind the USB transport.
set(OLP_TEST_LABELS unit emulator)
