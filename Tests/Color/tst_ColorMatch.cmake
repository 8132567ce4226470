# Profiles, transforms and picture matching over Little CMS.
set(OLP_TEST_LIBS olp_color)
