# The emulated camera's live view through the USB transport.
set(OLP_TEST_LABELS unit emulator)
