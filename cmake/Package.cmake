# The Debian package, made by `cpack -G DEB` from a release build: the
# files of cmake/Install.cmake below /usr, the dependencies found by
# dpkg-shlibdeps, and the maintainer scripts that make udev read the rule.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rhythmora)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Torvane")
set(CPACK_PACKAGE_CONTACT "${RHYTHMORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "keep and review the recordings of a portable electrocardiograph")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Rhythmora imports the recordings of a portable single-lead\n"
    "electrocardiograph over its USB cable or from its SD card, keeps each as\n"
    "a file, lists them as thumbnails, shows one on an ECG grid, prints a\n"
    "one-page report for the doctor and keeps a memo with each recording.\n"
    "It speaks Japanese and English. rhythmora-tool does the same work on the\n"
    "command line.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_HOMEPAGE_URL "${RHYTHMORA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipaexfont-gothic, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_BINARY_DIR}/packaging/postinst;${CMAKE_BINARY_DIR}/packaging/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
