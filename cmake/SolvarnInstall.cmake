# Where `cmake --install` puts things (GNU directories), and helpers for the folders' install
# rules. Everything a helper installs is also built by the target `solvarn-installables`, so
# that the package build can leave the tests out.
#
#   solvarn_install_program(<target>)
#       installs an executable into bin and adds it to solvarn-installables
#   solvarn_install_man_page(<file.1>)
#       a section 1 manual page, written by hand beside its program (tests/desktop checks that
#       it names every option of the program's --help)
# Manual pages are installed compressed with gzip -9n, as Debian expects.
include(GNUInstallDirs)

# Facts of this release, for the package and the AppStream metadata.
set(SOLVARN_RELEASE_DATE "2026-12-08")
set(SOLVARN_HOMEPAGE_URL "https://solvarn.no/printersjekk"
    CACHE STRING "Home page named in the package and its AppStream metadata")

# Installed directories are rwxr-xr-x whatever the umask of whoever builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

find_program(SOLVARN_GZIP gzip)

add_custom_target(solvarn-installables)

set(SOLVARN_MAN_DIR "${CMAKE_BINARY_DIR}/man")

function(solvarn_install_program target)
    install(TARGETS ${target}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        BUNDLE DESTINATION .)
    add_dependencies(solvarn-installables ${target})
    set_property(GLOBAL APPEND PROPERTY SOLVARN_INSTALLED_PROGRAMS ${target})
endfunction()

function(solvarn_install_man_page source)
    if(NOT UNIX OR NOT SOLVARN_GZIP)
        return()
    endif()
    get_filename_component(source "${source}" ABSOLUTE)
    get_filename_component(name "${source}" NAME)
    get_filename_component(stem "${source}" NAME_WE)
    set(page "${SOLVARN_MAN_DIR}/${name}")
    add_custom_command(OUTPUT "${page}.gz"
        COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${page}"
        COMMAND "${SOLVARN_GZIP}" -9nf "${page}"
        DEPENDS "${source}"
        COMMENT "Manual page ${name}"
        VERBATIM)
    add_custom_target(${stem}-man ALL DEPENDS "${page}.gz")
    install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
    add_dependencies(solvarn-installables ${stem}-man)
endfunction()
