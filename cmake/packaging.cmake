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
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cut and join AAC (ADTS) audio by a video cut list")
set(CPACK_PACKAGE_DESCRIPTION
  "sarnik cuts and joins AAC audio held in ADTS streams by the Trim calls of an
AviSynth script, copying whole frames byte for byte without re-encoding.
sarnik-add2 is the earlier revision add 2 of the same program.")
set(CPACK_PACKAGE_CONTACT "sarnik developers <sarnik@localhost>")
if(WIN32)
  # The readme is CP932 with CR LF line ends: the code page of the program's
  # own console text, so that `type README.txt` in the console that runs
  # sarnik shows it as Notepad does.
  install(FILES packaging/windows/README.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME sarnik-${PROJECT_VERSION}-win64)
else()
  install(FILES man/sarnik.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(TARGET sarnik-add2)
    install(FILES man/sarnik.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 RENAME sarnik-add2.1)
  endif()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  # dpkg-shlibdeps (package dpkg-dev) finds the libraries the programs need;
  # without it the package names the ones a C++ program of this compiler needs.
  find_program(SARNIK_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(SARNIK_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
  endif()
endif()
include(CPack)
