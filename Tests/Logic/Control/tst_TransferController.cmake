# Picture transfer driven by the controller thread, with an emulated camera on the USB hub.
set(OLP_TEST_LABELS unit emulator)
