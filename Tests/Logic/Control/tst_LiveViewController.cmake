# The controller's live-view forwards against the camera emulator.
set(OLP_TEST_LABELS unit emulator)
