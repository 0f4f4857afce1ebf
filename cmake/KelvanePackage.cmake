# The Debian package: `cpack -G DEB` in the build folder makes
# kelvane_<version>_<arch>.deb from the install rules of every folder.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR "The Kelvane developers")
set(CPACK_PACKAGE_CONTACT "The Kelvane developers <maintainers@kelvane.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random strings, numbers and timed events for testing")
set(CPACK_PACKAGE_DESCRIPTION
"Kelvane makes random test data on demand in one small window with three tabs:
strings (passwords, user names, domain names, phone numbers, with heads, tails,
inserts, special and excluded characters), integers and floating-point numbers
within a range, and runs of events at random intervals that log each event's
local time and can open a program at each event. Results are saved as GBK or
UTF-8 text.
The command kelvane-cli offers the same generators to scripts and pipelines.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/kelvane/kelvane")
# Libraries come from dpkg-shlibdeps; these are what it cannot see: the
# platform plugins that open the window, Qt's own Chinese texts, the
# launcher behind "open" and the CJK font the window falls back to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Every Debian package carries its copyright and a compressed changelog.
set(KELVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kelvane)
set(KELVANE_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${KELVANE_CHANGELOG_GZ}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/res/debian/changelog > ${KELVANE_CHANGELOG_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/res/debian/changelog
  VERBATIM)
add_custom_target(kelvane_changelog ALL DEPENDS ${KELVANE_CHANGELOG_GZ})
install(FILES res/debian/copyright ${KELVANE_CHANGELOG_GZ} DESTINATION ${KELVANE_DOC_DIR})

include(CPack)
