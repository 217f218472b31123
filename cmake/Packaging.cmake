# Installation and packages. `cmake --install` puts the program in bin/ (its
# rule is beside the target in app/) and, except on Windows and the web, the
# manual page in share/man/man1 and the licence as Debian's copyright file in
# share/doc/quorvantile. CPack makes a .tar.gz and a .deb on Linux, a .zip of
# quorvantile.exe with README.txt, USING.txt and LICENSE.txt for Windows, and a .zip of
# the page's folder for the web edition (installed by web/CMakeLists.txt).
# Every package carries the version of project() in the top CMakeLists.txt.
include(GNUInstallDirs)

set(QUORVANTILE_LICENSE_FILE ${PROJECT_SOURCE_DIR}/LICENSE)
set(QUORVANTILE_LICENSE_NAME MIT)

if(WIN32)
  # Text files a double click opens on Windows.
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/using.md DESTINATION . RENAME USING.txt)
  install(FILES ${QUORVANTILE_LICENSE_FILE} DESTINATION . RENAME LICENSE.txt)
elseif(NOT EMSCRIPTEN)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/quorvantile.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # Debian's machine-readable copyright format: the licence text indented by
  # one blank, its empty lines written as " .".
  file(READ ${QUORVANTILE_LICENSE_FILE} license_text)
  string(STRIP "${license_text}" license_text)
  string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
  string(REPLACE "\n" "\n " license_text "${license_text}")
  file(WRITE ${CMAKE_BINARY_DIR}/copyright
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: quorvantile\n\n"
       "Files: *\nCopyright: Quorvantile developers\nLicense: ${QUORVANTILE_LICENSE_NAME}\n"
       " ${license_text}\n")
  install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME quorvantile)
set(CPACK_PACKAGE_VENDOR "Quorvantile developers")
set(CPACK_PACKAGE_CONTACT "Quorvantile developers <quorvantile@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A console program with a framed menu of eight entries: five number-theory demonstrations "
       "(Goldbach's conjecture, the Collatz conjecture, Nicomachus's cube theorem, the four-square "
       "theorem, the sieve of Eratosthenes), two logic puzzles and Exit. It reads standard input and "
       "writes standard output, so a class can type into it or pipe a prepared script through it.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvantile)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${QUORVANTILE_LICENSE_FILE})

if(EMSCRIPTEN)
  # The page's folder (web/CMakeLists.txt installs it) as a .zip.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME web)
  set(CPACK_STRIP_FILES OFF)
elseif(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION education)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  # The dependencies are read off the binary when the Debian tool for it is
  # there; otherwise the package names the C++ runtime it was built against.
  find_program(QUORVANTILE_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(QUORVANTILE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  endif()
endif()

include(CPack)
