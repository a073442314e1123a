# SPDX-License-Identifier: GPL-3.0-or-later
# fw_add_manpage(<target> SECTION <n> DESCRIPTION <text>)
#
# Writes the manual page of the program <target> with help2man from the program's own --help and
# --version, so that the page and --help cannot say different things, compresses it the way
# Debian wants (gzip -9n) and installs it under man<n>. The program must answer both options
# without a display. DESCRIPTION is the page's one-line NAME text, lower case.
#
# AUTO (the default) builds the pages where help2man is installed and says in one line that they
# are skipped where it is not; ON requires help2man; OFF builds none.
set(FRAMEWRIGHT_BUILD_MANPAGES AUTO CACHE STRING "Build and install the manual pages: AUTO, ON or OFF")
set_property(CACHE FRAMEWRIGHT_BUILD_MANPAGES PROPERTY STRINGS AUTO ON OFF)
string(TOUPPER "${FRAMEWRIGHT_BUILD_MANPAGES}" manpages_setting)
set(FRAMEWRIGHT_MANPAGES OFF)
if(manpages_setting STREQUAL "AUTO" OR manpages_setting STREQUAL "ON")
    find_program(FRAMEWRIGHT_HELP2MAN help2man)
    if(FRAMEWRIGHT_HELP2MAN)
        set(FRAMEWRIGHT_MANPAGES ON)
    elseif(manpages_setting STREQUAL "ON")
        message(FATAL_ERROR "The manual pages need help2man (apt-get install help2man); "
            "or configure with -DFRAMEWRIGHT_BUILD_MANPAGES=OFF to build without them.")
    else()
        message(STATUS "Manual pages skipped: help2man is not installed")
    endif()
elseif(NOT manpages_setting STREQUAL "OFF")
    message(FATAL_ERROR "FRAMEWRIGHT_BUILD_MANPAGES is AUTO, ON or OFF, not '${FRAMEWRIGHT_BUILD_MANPAGES}'")
endif()
find_program(FRAMEWRIGHT_GZIP gzip REQUIRED)

function(fw_add_manpage target)
    cmake_parse_arguments(PARSE_ARGV 1 page "" "SECTION;DESCRIPTION" "")
    if(NOT page_SECTION OR NOT page_DESCRIPTION OR page_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "fw_add_manpage(${target} SECTION <n> DESCRIPTION <text>)")
    endif()
    if(NOT FRAMEWRIGHT_MANPAGES)
        return()
    endif()
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
        set(name ${target})
    endif()
    set(page ${CMAKE_BINARY_DIR}/man/${name}.${page_SECTION})
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${FRAMEWRIGHT_RELEASE_EPOCH}
            ${FRAMEWRIGHT_HELP2MAN} --no-info --section=${page_SECTION}
            --name=${page_DESCRIPTION} --output=${page} $<TARGET_FILE:${target}>
        COMMAND ${FRAMEWRIGHT_GZIP} -9nf ${page}
        DEPENDS ${target}
        COMMENT "Writing the manual page ${name}(${page_SECTION})"
        VERBATIM)
    add_custom_target(${target}_manpage ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${page_SECTION})
endfunction()
