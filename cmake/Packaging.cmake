# `cpack -G DEB` in a build folder makes the Debian package of what `cmake --install` installs.
set(CPACK_PACKAGE_NAME kesto)
set(CPACK_PACKAGE_VENDOR "The Kesto developers")
set(CPACK_PACKAGE_CONTACT "The Kesto developers <kesto@kesto.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kesto.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mail reader for Halkmoor bulletin-board systems")
set(CPACK_PACKAGE_DESCRIPTION
    "Kesto reads and writes the mail of a Halkmoor bulletin-board system directly in the\n"
    "board's files, beside the board software: received and sent mail of any user, sending\n"
    "to local users, to other boards or to all users, a per-user address book, printing\n"
    "and saving. kesto-cli does the same from the command line, with JSON output.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows ask for Courier New; fontconfig gives its metric twin from this package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)

include(CPack)
