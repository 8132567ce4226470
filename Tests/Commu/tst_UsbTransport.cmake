# Runs the USB camera access against the emulated camera.
set(OLP_TEST_LABELS unit emulator)
