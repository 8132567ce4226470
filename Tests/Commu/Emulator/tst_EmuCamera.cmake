# The emulated camera as a protocol partner.
set(OLP_TEST_LABELS unit emulator)
