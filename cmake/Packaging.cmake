# Debian package of the calculator, built with "cpack -G DEB" from the build directory.
# Included at the end of the top-level CMakeLists.txt, after every install() rule.
#
# The package's dependencies are worked out by dpkg-shlibdeps (package dpkg-dev) from the
# installed binaries, not written here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brelvik-calc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brelvik Calculator maintainers")
set(CPACK_PACKAGE_CONTACT "Brelvik Calculator maintainers <maintainers@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "frame and Loxone string calculator for the Veltram Brelvik transmitter")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Brelvik Code Calculator composes the byte frame of one command for the\n"
    "Veltram Brelvik RS485 radio transmitter for blinds and lights, from the\n"
    "command's parameters and the host and slave addresses, and shows the frame\n"
    "and the escaped Loxone string, ready to paste into a Loxone Miniserver.\n"
    "\n"
    "The package holds the desktop calculator, brelvik-calc, and the command-line\n"
    "tool, brelvik-frame, for scripting and batch use.")

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME ${CPACK_PACKAGE_NAME})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
