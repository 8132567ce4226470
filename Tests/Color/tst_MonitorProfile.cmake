# The monitor's profile from a real X server (Xvfb, started by the test on a
# free display) and from a fake colour daemon on a private D-Bus bus.
find_package(Qt5 5.15 REQUIRED COMPONENTS DBus)
pkg_check_modules(OLP_TEST_XCB REQUIRED IMPORTED_TARGET xcb)
set(OLP_TEST_LIBS olp_color Qt5::DBus PkgConfig::OLP_TEST_XCB)
set(OLP_TEST_LABELS unit gui)
