# The whole tethering path: controller thread, USB transport, emulated camera, files on disk.
set(OLP_TEST_LABELS unit emulator)
