# Picture transfer through the camera object, the USB transport and the emulated camera.
set(OLP_TEST_LABELS unit emulator)
set(OLP_TEST_TIMEOUT 300)
