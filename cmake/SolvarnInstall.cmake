# Where `cmake --install` puts things (GNU directories), and helpers for the folders' install
# rules. Everything a helper installs is also built by the target `solvarn-installables`, so
# that the package build can leave the tests out.
#
#   solvarn_install_program(<target>)
#       installs an executable into bin and adds it to solvarn-installables
#   solvarn_add_man_page(<target> DESCRIPTION <one line>)
#       a section 1 manual page made by help2man from the built program's --help and
#       --version (only where SOLVARN_MANPAGES is on)
#   solvarn_install_man_page(<file.1>)
#       a section 1 manual page written by hand
# Manual pages are installed compressed with gzip -9n, as Debian expects.
include(GNUInstallDirs)

# Facts of this release, for the package and the AppStream metadata.
set(SOLVARN_RELEASE_DATE "2026-12-08")
set(SOLVARN_HOMEPAGE_URL "https://solvarn.no/printersjekk"
    CACHE STRING "Home page named in the package and its AppStream metadata")

# Installed directories are rwxr-xr-x whatever the umask of whoever builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

find_program(SOLVARN_HELP2MAN help2man)
find_program(SOLVARN_GZIP gzip)
# help2man runs the freshly built programs: not possible when cross-compiling, and a
# sanitizer build would put its own reports into the pages.
if(SOLVARN_HELP2MAN AND SOLVARN_GZIP AND NOT CMAKE_CROSSCOMPILING AND NOT SOLVARN_SANITIZE)
    set(solvarn_manpages_default ON)
else()
    set(solvarn_manpages_default OFF)
endif()
option(SOLVARN_MANPAGES "Make the manual pages from the programs' --help (needs help2man)"
    ${solvarn_manpages_default})
if(SOLVARN_MANPAGES AND NOT (SOLVARN_HELP2MAN AND SOLVARN_GZIP))
    message(FATAL_ERROR "SOLVARN_MANPAGES needs help2man and gzip: apt-get install help2man")
endif()

add_custom_target(solvarn-installables)

set(SOLVARN_MAN_DIR "${CMAKE_BINARY_DIR}/man")

function(solvarn_install_program target)
    install(TARGETS ${target}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        BUNDLE DESTINATION .)
    add_dependencies(solvarn-installables ${target})
    set_property(GLOBAL APPEND PROPERTY SOLVARN_INSTALLED_PROGRAMS ${target})
endfunction()

# Installs a compressed page that <target> makes, and has the package build make it.
function(solvarn_install_made_man_page gz target)
    install(FILES "${gz}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
    add_dependencies(solvarn-installables ${target})
endfunction()

function(solvarn_add_man_page target)
    cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
    if(NOT SOLVARN_MANPAGES)
        return()
    endif()
    if(NOT ARG_DESCRIPTION)
        message(FATAL_ERROR "solvarn_add_man_page(${target}): DESCRIPTION is missing")
    endif()
    set(page "${SOLVARN_MAN_DIR}/${target}.1")
    add_custom_command(OUTPUT "${page}.gz"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${SOLVARN_MAN_DIR}"
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                "${SOLVARN_HELP2MAN}" --no-info --section=1 "--name=${ARG_DESCRIPTION}"
                "--output=${page}" "$<TARGET_FILE:${target}>"
        COMMAND "${SOLVARN_GZIP}" -9nf "${page}"
        DEPENDS ${target}
        COMMENT "Manual page of ${target} from its --help"
        VERBATIM)
    add_custom_target(${target}-man ALL DEPENDS "${page}.gz")
    solvarn_install_made_man_page("${page}.gz" ${target}-man)
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
    solvarn_install_made_man_page("${page}.gz" ${stem}-man)
endfunction()
