# The capture tab on its own: list and value rules, exposure, drive and interval fields.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS unit gui)
