# Installation as a desktop application and the Debian package made from it by cpack -G DEB:
# vell, vellcli and the launcher vell-start in bin/, the shipped weights in share/vell/, the
# desktop entry, the icons in the hicolor theme and the AppStream metainfo file.
include(GNUInstallDirs)

set(VELL_APP_ID net.tolvasoftware.vell)
set(VELL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vell)
set(VELL_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/vell)

install(TARGETS vellcli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/weight4.dat DESTINATION ${VELL_DATA_DIR})
install(PROGRAMS scripts/seed-workdir.sh DESTINATION ${VELL_LIBEXEC_DIR})
# Debian looks for the copyright file under the package's own name.
install(FILES resources/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vell)

if(VELL_BUILD_SHELL)
    install(TARGETS vell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The launcher finds the weights and the seeding script relative to its own folder, so the
    # installed tree works under any prefix.
    file(RELATIVE_PATH VELL_BIN_TO_DATA /${CMAKE_INSTALL_BINDIR} /${VELL_DATA_DIR})
    file(RELATIVE_PATH VELL_BIN_TO_LIBEXEC /${CMAKE_INSTALL_BINDIR} /${VELL_LIBEXEC_DIR})
    configure_file(resources/desktop/vell-start.in ${PROJECT_BINARY_DIR}/vell-start @ONLY)
    install(PROGRAMS ${PROJECT_BINARY_DIR}/vell-start DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES resources/desktop/${VELL_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES resources/desktop/${VELL_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES resources/icons/vell.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 48 256)
        install(FILES resources/icons/vell-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME vell.png)
    endforeach()
endif()

set(CPACK_PACKAGE_NAME vell)
set(CPACK_PACKAGE_VENDOR TolvaSoftware)
set(CPACK_PACKAGE_CONTACT "Vell developers <vell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "8x8 board game of the reversi family that learns from its games")
# One string: a list of strings would reach the package joined with ";".
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Vell is a desktop board game with its own capture rule, four computer players sharing one "
    "engine, an opening book and pattern weights that training improves game after game. The "
    "package holds the Qt window vell, the command-line program vellcli and the trained weights.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries' packages come from the binaries themselves; the window's Japanese texts need a
# Japanese font, and the toolkit's own dialogs speak Japanese with its translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
