# make package: build/dist/orca-75-lx-updater_3.0.0_amd64.deb. The program, its menu entry
# and icon, and the udev rule that gives the logged-in user the unit's hidraw nodes.
include(GNUInstallDirs)
set(PACKAGE_NAME orca-75-lx-updater)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging/linux)

install(TARGETS orca-75-lx-updater RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PACKAGING_DIR}/${PACKAGE_NAME}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${ICON_SIZES})
    install(FILES ${GENERATED_DIR}/icon-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${PACKAGE_NAME}.png)
endforeach()
# udev reads /usr/lib/udev/rules.d whatever the install prefix.
install(FILES ${PACKAGING_DIR}/70-${PACKAGE_NAME}.rules DESTINATION /usr/lib/udev/rules.d)

# Debian wants the changelog and the manual page compressed reproducibly.
set(CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.gz)
set(MANUAL_GZ ${CMAKE_BINARY_DIR}/${PACKAGE_NAME}.1.gz)
add_custom_command(OUTPUT ${CHANGELOG_GZ}
    COMMAND gzip -9n -c ${PACKAGING_DIR}/changelog > ${CHANGELOG_GZ}
    DEPENDS ${PACKAGING_DIR}/changelog)
add_custom_command(OUTPUT ${MANUAL_GZ}
    COMMAND gzip -9n -c ${PACKAGING_DIR}/${PACKAGE_NAME}.1 > ${MANUAL_GZ}
    DEPENDS ${PACKAGING_DIR}/${PACKAGE_NAME}.1)
add_custom_target(package_documents ALL DEPENDS ${CHANGELOG_GZ} ${MANUAL_GZ})
install(FILES ${CHANGELOG_GZ} ${PACKAGING_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PACKAGE_NAME})
install(FILES ${MANUAL_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION 3.0.0)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${DIST_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for the NORVAX ORCA 75 LX speed controller")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Finds the DOCKPAD or DOCK-BOX programming unit on USB, shows the
installed versions of the unit, the controller's bootloader and its firmware,
and writes the firmware image it carries into the controller. Its udev rule
lets the user logged in at the seat use the unit without root.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "NORVAX Updater Team <updater@norvax.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.norvax.example)
# Libraries from the binary; Qt's platform plugins are loaded at run time, so named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PACKAGING_DIR}/postinst;${PACKAGING_DIR}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
