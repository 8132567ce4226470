# The device-property settings through the USB transport against the camera emulator.
set(OLP_TEST_LABELS unit emulator)
