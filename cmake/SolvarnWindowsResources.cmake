# The names that Windows shows for the programs and the installer (Properties, Details; the list
# of installed programs), kept here once. tools/windows/build-windows.sh reads them from the
# Windows build's cache for the installer.
set(SOLVARN_PRODUCT "Solvarn printersjekk" CACHE INTERNAL "product name on Windows")
set(SOLVARN_COMPANY "Solvarn" CACHE INTERNAL "publisher on Windows")
set(SOLVARN_COPYRIGHT "Copyright © 2026 Solvarn" CACHE INTERNAL "copyright line on Windows")

# solvarn_windows_resources(<target> <description> [ICON])
# On Windows, gives the program a version resource with the project's version and the
# description (Norwegian, as the user reads it), and with ICON the program's icon.
function(solvarn_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "ICON" "" "" ${ARGN})
    set(desktop "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../desktop")
    set(SOLVARN_RC_VERSION_COMMAS "")
    foreach(part MAJOR MINOR PATCH TWEAK)
        set(number "${PROJECT_VERSION_${part}}")
        if(number STREQUAL "")
            set(number 0)
        endif()
        list(APPEND SOLVARN_RC_VERSION_COMMAS ${number})
    endforeach()
    string(REPLACE ";" "," SOLVARN_RC_VERSION_COMMAS "${SOLVARN_RC_VERSION_COMMAS}")
    set(SOLVARN_RC_NAME "${target}")
    set(SOLVARN_RC_DESCRIPTION "${description}")
    set(SOLVARN_RC_ICON "")
    if(ARG_ICON)
        set(SOLVARN_RC_ICON
            "IDI_ICON1 ICON \"${desktop}/icons/solvarn-printersjekk.ico\"")
    endif()
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}-resources.rc")
    configure_file("${desktop}/windowsresources.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
endfunction()
