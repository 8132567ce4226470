# The emulated camera behind the USB transport.
set(OLP_TEST_LABELS unit emulator)
