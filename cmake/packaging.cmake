# Installation and packages: a Debian package on Linux, a ZIP of the two
# static programs from the Windows cross-build.
include(GNUInstallDirs)

# On Windows the programs stand at the top of the ZIP, next to README.txt.
if(WIN32)
  set(sarnik_bindir .)
else()
  set(sarnik_bindir ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS sarnik RUNTIME DESTINATION ${sarnik_bindir})
if(TARGET sarnik-add2)
  install(TARGETS sarnik-add2 RUNTIME DESTINATION ${sarnik_bindir})
endif()

set(CPACK_PACKAGE_NAME sarnik)
# Both packages spell the version as the Debian one must, 0.1~alpha3: one
# spelling, in the ZIP's name as in the .deb's.
set(CPACK_PACKAGE_VERSION ${SARNIK_PACKAGE_VERSION})
set(CPACK_DEBIAN_PACKAGE_VERSION ${SARNIK_PACKAGE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cut and join AAC (ADTS) audio by a video cut list")
set(CPACK_PACKAGE_DESCRIPTION
  "sarnik cuts and joins AAC audio held in ADTS streams by the Trim calls of an
AviSynth script, copying whole frames byte for byte without re-encoding.
sarnik-add2 is the earlier revision add 2 of the same program.")
# The maintainer named in the Debian package and its changelog.
set(SARNIK_PACKAGE_CONTACT "sarnik developers <sarnik@example.org>" CACHE STRING
  "Maintainer of the packages, as Name <address>")
set(CPACK_PACKAGE_CONTACT "${SARNIK_PACKAGE_CONTACT}")
if(WIN32)
  # The readme is CP932 with CR LF line ends: the code page of the program's
  # own console text, so that `type README.txt` in the console that runs
  # sarnik shows it as Notepad does.
  configure_file(packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME sarnik-${SARNIK_PACKAGE_VERSION}-win64)
else()
  # The man page, the version put in, is installed gzipped, as man reads it
  # and Debian ships it; -n leaves the name and time out, so the same page
  # makes the same bytes.
  configure_file(man/sarnik.1.in ${CMAKE_BINARY_DIR}/man/sarnik.1 @ONLY)
  set(sarnik_man_gz ${CMAKE_BINARY_DIR}/man/sarnik.1.gz)
  add_custom_command(
    OUTPUT ${sarnik_man_gz}
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/man/sarnik.1 > ${sarnik_man_gz}
    DEPENDS ${CMAKE_BINARY_DIR}/man/sarnik.1
    COMMENT "Compressing the man page")
  add_custom_target(sarnik_man ALL DEPENDS ${sarnik_man_gz})
  install(FILES ${sarnik_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(TARGET sarnik-add2)
    install(FILES ${sarnik_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 RENAME sarnik-add2.1.gz)
  endif()
  # The package's own changelog, gzipped like the man page.
  configure_file(packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/doc/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog
    COMMENT "Compressing the changelog")
  add_custom_target(sarnik_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
  install(FILES packaging/debian/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  # dpkg-shlibdeps (package dpkg-dev, which scripts/install-deps.sh installs)
  # names the libraries the programs need with the versions they need.
  find_program(SARNIK_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(NOT SARNIK_DPKG_SHLIBDEPS)
    message(WARNING "dpkg-shlibdeps (package dpkg-dev) is missing: cpack cannot build the Debian package")
  endif()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_STRIP_FILES ON)
endif()
include(CPack)
