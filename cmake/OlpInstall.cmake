# Install rules and the Debian package: the executable, its desktop entry and
# AppStream metadata, the application icon in the hicolor theme and the udev
# rule that gives the desktop user access to the maker's cameras.
#   cmake --install build --prefix /usr        (DESTDIR= stages it)
#   cd build && cpack -G DEB                   (installable with apt-get install ./<file>.deb)
include(GNUInstallDirs)

set(OLP_PACKAGING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(OLP_APPSTREAM_ID example.orvane_camera.Lumaport)

install(TARGETS OrvaneLumaport RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${OLP_PACKAGING_DIR}/orvane-lumaport.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${OLP_PACKAGING_DIR}/${OLP_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
get_property(olp_icon_dir GLOBAL PROPERTY OLP_ICON_DIR)
if(NOT olp_icon_dir)
    message(FATAL_ERROR "The artwork tool's icon folder is not known: tools/ must come before the install rules")
endif()
install(DIRECTORY ${olp_icon_dir}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# udev reads its rules from /usr/lib/udev/rules.d on a merged /usr (Debian 12);
# a package installs there, the administrator's own rules stay in /etc.
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/scripts/65-orvane-camera.rules DESTINATION lib/udev/rules.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-lumaport)
set(CPACK_PACKAGE_VENDOR "Orvane Camera AG")
set(CPACK_PACKAGE_VERSION 3.6.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tethered shooting and remote control for Orvane cameras")
set(CPACK_PACKAGE_DESCRIPTION "Connects to an Orvane camera over USB, shows and changes its settings, releases the
shutter, transfers each new picture into DNG and JPG folders with a quick view, and shows
live view colour-matched to the monitor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvane Camera AG <support@orvane-camera.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package carries the program, not its debugging symbols.
set(CPACK_STRIP_FILES ON)
# The display font is compiled into the program from Debian's font package; the
# package stays a dependency so its licence and copyright travel with it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dseg")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${OLP_PACKAGING_DIR}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
