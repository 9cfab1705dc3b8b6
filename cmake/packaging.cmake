# The Debian package: `cpack -G DEB` in a build folder (scripts/package makes
# a release build for it). Included from the top CMakeLists.txt, after the
# install rules.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vm-update)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "VM_Update developers <vm-update@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "update wizard for the Velmora finance program under Wine")
set(CPACK_PACKAGE_DESCRIPTION
    "VM_Update installs update packages into an installation of Velmora, a Windows\n"
    "finance program that runs under Wine, converts the user's database when a\n"
    "package asks for it, and rolls the last update back. It also brings\n"
    "vmupdate-script (the wizard driven by a script, without a window), vmu-pack\n"
    "(makes update packages) and vmupdate-demo (a sample installation).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps (dpkg-dev). Qt's
# Dutch translations are loaded at run time, so no library names them: without
# them Qt's own dialogs and buttons would be English.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Velmora itself runs under Wine; the wizard needs it only to start packages
# that are Windows programs.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")

include(CPack)

if(BUILD_TESTING)
  # Makes the package from this build once, unpacks it into a temporary root
  # and runs the programs from there. Skipped without dpkg-deb and dpkg-dev.
  add_test(NAME debian_package
           COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/package_test.sh ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR}
                   ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR}/docs/demo-session.txt)
  set_tests_properties(debian_package PROPERTIES SKIP_RETURN_CODE 77 LABELS package TIMEOUT 300)
endif()
