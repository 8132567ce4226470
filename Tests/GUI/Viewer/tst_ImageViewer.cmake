# The picture viewer of live view and quick view, with the drawn marks.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS unit gui)
