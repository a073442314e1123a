# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package. The program finds help.htm and Luna.uis beside its own
# executable, so it gets a directory of its own under lib and a launcher link in bin.
set(FRAMEWRIGHT_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/framewright)

# Qt comes from the system's library directories: the installed program needs no run path.
set_target_properties(framewright PROPERTIES INSTALL_RPATH "")
install(TARGETS framewright RUNTIME DESTINATION ${FRAMEWRIGHT_INSTALL_PROGRAM_DIR})
install(FILES ${FRAMEWRIGHT_PROGRAM_FILES} DESTINATION ${FRAMEWRIGHT_INSTALL_PROGRAM_DIR})
install(TARGETS framewright-style RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# A relative link keeps the tree relocatable (DESTDIR, dpkg -x); the program resolves
# /proc/self/exe, so it still finds its directory when started through the link.
file(RELATIVE_PATH launcher_target /prefix/${CMAKE_INSTALL_BINDIR}
    /prefix/${FRAMEWRIGHT_INSTALL_PROGRAM_DIR}/framewright)
set(launcher ${CMAKE_CURRENT_BINARY_DIR}/launcher/framewright)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/launcher)
file(CREATE_LINK ${launcher_target} ${launcher} SYMBOLIC)
install(FILES ${launcher} DESTINATION ${CMAKE_INSTALL_BINDIR})

include(${CMAKE_CURRENT_LIST_DIR}/Release.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/ManPage.cmake)

# The name and address the project's commits carry: the package has no other contact.
set(FRAMEWRIGHT_MAINTAINER
    "Seed 7f5c3fc5 maintainers <maintainers@users.noreply.c-seed-7f5c3fc5.example>")

install(FILES packaging/framewright.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(metainfo io.github.framewright.Framewright.metainfo.xml)
configure_file(packaging/${metainfo}.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/${metainfo} @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/${metainfo}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

fw_add_manpage(framewright SECTION 1 DESCRIPTION "preview and inspect window-frame styles")
fw_add_manpage(framewright-style SECTION 1
    DESCRIPTION "check, render and review a window-frame style without a display")

# Debian's own places for the licence and the changelog; the licence text itself is the one in
# /usr/share/common-licenses.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/framewright)
configure_file(packaging/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/copyright DESTINATION ${docdir})
configure_file(packaging/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${FRAMEWRIGHT_GZIP} -9nkf ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(framewright_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${docdir})

foreach(icon IN ITEMS "appicon.png:16" "appicon-48.png:48" "appicon-128.png:128")
    string(REPLACE ":" ";" icon ${icon})
    list(GET icon 0 file)
    list(GET icon 1 size)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/resources/${file})
        install(FILES resources/${file} RENAME framewright.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endif()
endforeach()

# The sample styles, for tools/run.sh or a user to copy to the fixed paths: a package puts
# nothing under /home.
install(DIRECTORY styles/ DESTINATION ${CMAKE_INSTALL_DATADIR}/framewright/styles
    FILES_MATCHING PATTERN "*.png" PATTERN "*.bmp")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME framewright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Framewright")
set(CPACK_PACKAGE_CONTACT "${FRAMEWRIGHT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian wants the lines of the long description within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Framewright shows an X11 window-frame style as the desktop would draw it:\n"
    "two sample windows composed from the style's bitmaps, a live minimize\n"
    "button, an explorer of the style's elements and a bitmap pane that hands\n"
    "a bitmap to the paint program.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The program's own libraries, the X11 platform plugin Qt loads at run time and a font to draw
# the window's text with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6, \
libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins, libfontconfig1, \
fonts-dejavu-core | fonts-liberation")
include(CPack)
