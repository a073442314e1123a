# SPDX-License-Identifier: GPL-3.0-or-later
# fw_add_manpage(<target> SECTION <n> DESCRIPTION <text>)
#
# Writes the manual page of the program <target> with help2man from the program's own --help and
# --version, so that the page and --help cannot say different things, compresses it the way
# Debian wants (gzip -9n) and installs it under man<n>. The program must answer both options
# without a display. DESCRIPTION is the page's one-line NAME text, lower case.
#
# The pages are built where the tests are (help2man is a test-time package); run.sh and
# draw-art.sh, which build without tests, need no help2man.
option(FRAMEWRIGHT_BUILD_MANPAGES "Build and install the manual pages (needs help2man)"
    ${FRAMEWRIGHT_BUILD_TESTS})

if(FRAMEWRIGHT_BUILD_MANPAGES)
    find_program(FRAMEWRIGHT_HELP2MAN help2man)
    if(NOT FRAMEWRIGHT_HELP2MAN)
        message(FATAL_ERROR "The manual pages need help2man (apt-get install help2man); "
            "or configure with -DFRAMEWRIGHT_BUILD_MANPAGES=OFF to build without them.")
    endif()
endif()
find_program(FRAMEWRIGHT_GZIP gzip REQUIRED)

function(fw_add_manpage target)
    cmake_parse_arguments(PARSE_ARGV 1 page "" "SECTION;DESCRIPTION" "")
    if(NOT page_SECTION OR NOT page_DESCRIPTION OR page_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "fw_add_manpage(${target} SECTION <n> DESCRIPTION <text>)")
    endif()
    if(NOT FRAMEWRIGHT_BUILD_MANPAGES)
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
