# The emulated camera's picture files and the transfer's dataset, Exif and file helpers.
set(OLP_TEST_LABELS unit emulator)
