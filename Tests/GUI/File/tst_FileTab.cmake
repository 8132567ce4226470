# The file tab on its own: rules, availability, name and index fields, example.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS gui)
