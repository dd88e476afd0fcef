# The Debian binary package, built by CPack from the install rules: `./dev package`.
# Its dependencies are computed from the installed programs by dpkg-shlibdeps (dpkg-dev),
# plus what no binary links to but the window needs at run time.
if(NOT UNIX OR APPLE)
    return()
endif()

set(CPACK_PACKAGE_NAME "solvarn-printersjekk")
set(CPACK_PACKAGE_VENDOR "Solvarn")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check that a SATO label printer is connected and answers")
set(CPACK_PACKAGE_DESCRIPTION "A small diagnostic tool for the users and support staff of the
Solvarn system, with Norwegian texts. In serial mode it tries every COM
port in a range, sends the printer's status enquiry and writes the
printer's status; in network mode it connects to the printer's ports 1025
and 1024 and tells whether the printer is online, reports its own error
or does not answer. Everything goes into a log that can be copied and
mailed to the supplier.
.
The package also holds printer-sim, a SATO printer simulator on loopback
TCP and pseudo-terminals, for training and trying the program.")
set(SOLVARN_PACKAGE_MAINTAINER "Solvarn support <support@solvarn.no>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SOLVARN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SOLVARN_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugin (xcb, wayland) at run time; libqt6gui6 only recommends it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The window's font list falls back to Liberation Sans, whose widths its captions are sized for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Debian's documentation files: the copyright notice and the changelog, compressed.
set(SOLVARN_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME}")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION "${SOLVARN_DOC_DIR}")
if(SOLVARN_GZIP)
    set(changelog "${CMAKE_BINARY_DIR}/packaging/changelog")
    execute_process(COMMAND date -u -R -d "${SOLVARN_RELEASE_DATE} 12:00"
        OUTPUT_VARIABLE SOLVARN_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/changelog.in" "${changelog}" @ONLY)
    add_custom_command(OUTPUT "${changelog}.gz"
        COMMAND "${SOLVARN_GZIP}" -9nkf "${changelog}"
        DEPENDS "${changelog}"
        VERBATIM)
    add_custom_target(solvarn-changelog ALL DEPENDS "${changelog}.gz")
    add_dependencies(solvarn-installables solvarn-changelog)
    install(FILES "${changelog}.gz" DESTINATION "${SOLVARN_DOC_DIR}")
endif()

include(CPack)
