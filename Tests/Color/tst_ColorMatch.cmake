# Profiles, transforms and picture matching over Little CMS; large pictures are matched in bands on several threads.
set(OLP_TEST_LIBS olp_color)
set(OLP_TEST_LABELS unit threads)
