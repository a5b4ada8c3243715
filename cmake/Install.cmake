# SPDX-License-Identifier: MIT
# The program as a desktop application: icons rendered from data/quillmere*.svg,
# the install layout (binary, desktop entry, hicolor icons, AppStream
# metadata), the Windows icon resource, the macOS bundle keys and the Debian
# package. Included at the end of the top-level CMakeLists.txt.

include(GNUInstallDirs)

# One reverse-DNS id names the desktop entry, the icon, the metainfo and the
# window's desktop file name (set in main.cpp); they must agree.
set(QUILLMERE_APP_ID org.example.Quillmere)
# The hicolor sizes desktops ask for, from a menu's 16 px to a dock's or a
# software centre's 256; renderedIcon() in src/window offers the window the same.
set(QUILLMERE_ICON_SIZES 16 24 32 48 64 128 256)

# The icons are drawn by a small host tool with QSvgRenderer, the renderer the
# window itself uses, so Linux and Windows builds need nothing but Qt.
add_executable(quillmere_rendericons data/rendericons.cpp)
target_link_libraries(quillmere_rendericons PRIVATE Qt6::Gui Qt6::Svg)
if(WIN32)
    # The tool runs during the build, before any Qt DLL is on PATH.
    add_custom_command(TARGET quillmere_rendericons POST_BUILD
        COMMAND "${CMAKE_COMMAND}" -E
            $<IF:$<BOOL:$<TARGET_RUNTIME_DLLS:quillmere_rendericons>>,copy_if_different,true>
            $<TARGET_RUNTIME_DLLS:quillmere_rendericons> $<TARGET_FILE_DIR:quillmere_rendericons>
        COMMAND_EXPAND_LISTS)
endif()

set(QUILLMERE_ICON_DIR "${CMAKE_BINARY_DIR}/icons")
set(QUILLMERE_ICO "${QUILLMERE_ICON_DIR}/${QUILLMERE_APP_ID}.ico")
set(_quillmere_pngs)
foreach(size IN LISTS QUILLMERE_ICON_SIZES)
    list(APPEND _quillmere_pngs
         "${QUILLMERE_ICON_DIR}/hicolor/${size}x${size}/apps/${QUILLMERE_APP_ID}.png")
endforeach()
add_custom_command(
    OUTPUT ${_quillmere_pngs} "${QUILLMERE_ICO}"
    COMMAND quillmere_rendericons "${CMAKE_SOURCE_DIR}/data/quillmere.svg"
            "${QUILLMERE_ICON_DIR}" ${QUILLMERE_APP_ID} ${QUILLMERE_ICON_SIZES}
    DEPENDS quillmere_rendericons ${QUILLMERE_ARTWORK}
    COMMENT "Rendering the application icons from data/quillmere*.svg"
    VERBATIM)
add_custom_target(quillmere_icons ALL DEPENDS ${_quillmere_pngs} "${QUILLMERE_ICO}")
# Install copies the icons: whoever builds the program alone (scripts/run)
# must be able to install it.
add_dependencies(quillmere quillmere_icons)

if(WIN32)
    configure_file(data/quillmere.rc.in "${CMAKE_BINARY_DIR}/quillmere.rc" @ONLY)
    target_sources(quillmere PRIVATE "${CMAKE_BINARY_DIR}/quillmere.rc")
    set_source_files_properties("${CMAKE_BINARY_DIR}/quillmere.rc"
                                PROPERTIES OBJECT_DEPENDS "${QUILLMERE_ICO}")
endif()

# qt_add_executable already made it a GUI program (WIN32, MACOSX_BUNDLE).
set_target_properties(quillmere PROPERTIES
    MACOSX_BUNDLE_GUI_IDENTIFIER ${QUILLMERE_APP_ID}
    MACOSX_BUNDLE_BUNDLE_NAME Quillmere
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION})

# AppStream lists releases by hand; a version bump without a release entry
# would ship metadata that names an older version as the newest.
file(READ "${CMAKE_SOURCE_DIR}/data/${QUILLMERE_APP_ID}.metainfo.xml" _quillmere_metainfo)
if(NOT _quillmere_metainfo MATCHES "<release version=\"${PROJECT_VERSION}\"")
    message(WARNING "data/${QUILLMERE_APP_ID}.metainfo.xml has no <release> for "
                    "version ${PROJECT_VERSION}; add one before packaging.")
endif()

install(TARGETS quillmere
        BUNDLE DESTINATION .
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quillmere-list RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(UNIX)
    # Manual pages and the changelog go in compressed, as Debian's policy and
    # man itself expect; -n keeps the time stamp out, so builds are reproducible.
    find_program(QUILLMERE_GZIP gzip)
    if(NOT QUILLMERE_GZIP)
        message(FATAL_ERROR "gzip is needed to install the manual pages")
    endif()
    set(_quillmere_docs docs/quillmere.1 docs/quillmere-list.1 data/changelog)
    set(_quillmere_gz)
    foreach(doc IN LISTS _quillmere_docs)
        get_filename_component(_name "${doc}" NAME)
        set(_out "${CMAKE_BINARY_DIR}/doc/${_name}.gz")
        add_custom_command(OUTPUT "${_out}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/doc"
            COMMAND "${QUILLMERE_GZIP}" -9nc "${CMAKE_SOURCE_DIR}/${doc}" > "${_out}"
            DEPENDS "${CMAKE_SOURCE_DIR}/${doc}"
            COMMENT "Compressing ${doc}")
        list(APPEND _quillmere_gz "${_out}")
    endforeach()
    add_custom_target(quillmere_docs ALL DEPENDS ${_quillmere_gz})
    add_dependencies(quillmere quillmere_docs)
    install(FILES "${CMAKE_BINARY_DIR}/doc/quillmere.1.gz" "${CMAKE_BINARY_DIR}/doc/quillmere-list.1.gz"
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    # Where bash-completion loads a command's completion from on first use.
    install(FILES data/quillmere-list.bash
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            RENAME quillmere-list)
endif()
if(UNIX AND NOT APPLE)
    install(FILES data/${QUILLMERE_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES data/${QUILLMERE_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(DIRECTORY "${QUILLMERE_ICON_DIR}/hicolor"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
            FILES_MATCHING PATTERN "*.png")
    install(FILES data/quillmere.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${QUILLMERE_APP_ID}.svg)
    # Debian's layout for every package: the licence in machine-readable form
    # and the changelog, both under the package's own name.
    install(FILES data/copyright "${CMAKE_BINARY_DIR}/doc/changelog.gz"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmere)
    # The one lintian tag that is wrong about this package; the file says why.
    install(FILES data/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quillmere)
endif()

# cpack -G DEB: dependencies come from the binary through dpkg-shlibdeps (Qt,
# ICU, libacl1, libattr1).
# scripts/check-deb builds it as Debian builds packages: with the flags of
# dpkg-buildflags and the dates of the last commit.
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT "The Quillmere developers <quillmere@example.org>")
# No Homepage field: the project has no public page yet.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# One string (two would join with a ";"), broken by hand: the package's
# description lines must stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmere lists every file of the folders you choose, with its extension.\n\
Remove the rows you do not want, sort by a column, and save the file names\n\
to a text file, one per line. quillmere-list writes the same list from a\n\
terminal.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Without Qt's own catalogues its dialogs and buttons stay English in a German
# or French session, and without the C library's, the system's reasons in its
# messages; without a portal, Qt's own file dialog stands in for the
# desktop's; without Qt's Wayland plugin a Wayland session runs the window
# through Xwayland. The program starts either way.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, libc-l10n, qt6-wayland, xdg-desktop-portal, xdg-desktop-portal-gtk | xdg-desktop-portal-backend")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/ClampDates.cmake")
include(CPack)

if(BUILD_TESTING AND UNIX AND NOT APPLE)
    add_test(NAME installed_files
             COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check-installed" --install "${CMAKE_BINARY_DIR}")
    set_tests_properties(installed_files PROPERTIES LABELS install TIMEOUT 120)
endif()
