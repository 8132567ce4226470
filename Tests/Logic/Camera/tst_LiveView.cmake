# Live view of the camera object through the USB transport against the camera emulator.
set(OLP_TEST_LABELS unit emulator)
set(OLP_TEST_TIMEOUT 240)
