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

install(FILES packaging/framewright.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/io.github.framewright.Framewright.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
set(CPACK_PACKAGE_CONTACT "Framewright developers <framewright@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Framewright shows an X11 window-frame style as the desktop would draw it: two sample\n"
    "windows composed from the style's bitmaps, a live minimize button, an explorer of the\n"
    "style's elements and a bitmap pane that hands a bitmap to the paint program.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/framewright/framewright")
# The program's own libraries, the X11 platform plugin Qt loads at run time and a font to draw
# the window's text with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6, \
libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins, libfontconfig1, \
fonts-dejavu-core | fonts-liberation")
include(CPack)
