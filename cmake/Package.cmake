# The Debian package (`cpack` in the build folder; scripts/package does it all and prints the
# .deb's path). It holds what `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Ravelin developers")
set(CPACK_PACKAGE_CONTACT "Ravelin developers <ravelin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "AED rescue review")
set(CPACK_PACKAGE_DESCRIPTION
    "Review of what a Lumeron automated external defibrillator recorded during a rescue.\n"
    "Ravelin imports the device's memory-card folder into an .aed archive and shows\n"
    "the events, the ECG, the CPR periods and compression depths, and plays the\n"
    "rescue's sound in step with the ECG. ravelin-cli runs the same work headless.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link are found by dpkg-shlibdeps; what they load at run time or
# draw with is named here: the fonts every text is measured with, the multimedia backend, and
# the crypto library the case library loads for its hashes, and the keyring library a
# remembered server password is kept with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(RAVELIN_DEB_RUNTIME_DEPENDS fonts-liberation2 gstreamer1.0-plugins-base libssl3 libqt6keychain1)
list(JOIN RAVELIN_DEB_RUNTIME_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The desktop's "open with" lookup and MIME detection.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")

include(CPack)
