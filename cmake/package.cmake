# make package: two Debian packages. orca-75-lx-updater-cli, the terminal edition with its
# manual page and the udev rule, needs no desktop; orca-75-lx-updater, the window with its
# menu entry and icons, depends on it for the rule.
include(GNUInstallDirs)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging/linux)
set(PACKAGE_VERSION ${PROJECT_VERSION})
set(PACKAGE_RELEASE 3)
set(PACKAGE_FULL_VERSION ${PACKAGE_VERSION}-${PACKAGE_RELEASE})

# Debian wants the changelog and the manual pages compressed reproducibly.
set(CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${CHANGELOG_GZ}
    COMMAND gzip -9n -c ${PACKAGING_DIR}/changelog > ${CHANGELOG_GZ}
    DEPENDS ${PACKAGING_DIR}/changelog)
set(PACKAGE_DOCUMENTS ${CHANGELOG_GZ})
foreach(program orca-75-lx-updater orca-75-lx-updater-cli)
    set(manual ${CMAKE_BINARY_DIR}/${program}.1.gz)
    add_custom_command(OUTPUT ${manual}
        COMMAND gzip -9n -c ${PACKAGING_DIR}/${program}.1 > ${manual}
        DEPENDS ${PACKAGING_DIR}/${program}.1)
    list(APPEND PACKAGE_DOCUMENTS ${manual})
endforeach()
add_custom_target(package_documents ALL DEPENDS ${PACKAGE_DOCUMENTS})

# The AppStream metadata's release: the project's version, dated by the changelog's newest
# entry, so that neither is written twice.
file(STRINGS ${PACKAGING_DIR}/changelog CHANGELOG_SIGNATURES REGEX "^ -- ")
list(GET CHANGELOG_SIGNATURES 0 NEWEST_SIGNATURE)
if(NOT NEWEST_SIGNATURE MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "The changelog's newest entry has no date: ${NEWEST_SIGNATURE}")
endif()
set(release_day ${CMAKE_MATCH_1})
set(release_year ${CMAKE_MATCH_3})
set(MONTH_ABBREVIATIONS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND MONTH_ABBREVIATIONS ${CMAKE_MATCH_2} release_month)
math(EXPR release_month "${release_month} + 1" OUTPUT_FORMAT DECIMAL)
if(release_month LESS 10)
    set(release_month 0${release_month})
endif()
set(RELEASE_DATE ${release_year}-${release_month}-${release_day})
set(WINDOW_METAINFO ${CMAKE_BINARY_DIR}/example.norvax.Orca75LxUpdater.metainfo.xml)
set(CLI_METAINFO ${CMAKE_BINARY_DIR}/example.norvax.Orca75LxUpdaterCli.metainfo.xml)
configure_file(${PACKAGING_DIR}/example.norvax.Orca75LxUpdater.metainfo.xml.in
    ${WINDOW_METAINFO} @ONLY)
configure_file(${PACKAGING_DIR}/example.norvax.Orca75LxUpdaterCli.metainfo.xml.in
    ${CLI_METAINFO} @ONLY)

# Each package: its program, manual page, changelog and copyright.
function(install_program program component)
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
    install(FILES ${CMAKE_BINARY_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT ${component})
    # A Debian revision makes it a Debian changelog.
    install(FILES ${CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${program}
        RENAME changelog.Debian.gz COMPONENT ${component})
    install(FILES ${PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${program}
        COMPONENT ${component})
endfunction()

install_program(orca-75-lx-updater-cli cli)
# udev reads /usr/lib/udev/rules.d whatever the install prefix.
install(FILES ${PACKAGING_DIR}/70-orca-75-lx-updater.rules DESTINATION /usr/lib/udev/rules.d
    COMPONENT cli)
install(FILES ${CLI_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT cli)
# Shipping every station's record to one place with rsyslog: examples for a factory's IT.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/rsyslog/orca-station.conf
    ${CMAKE_SOURCE_DIR}/packaging/rsyslog/orca-central.conf
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orca-75-lx-updater-cli/examples/rsyslog COMPONENT cli)

if(WITH_WINDOW)
    install_program(orca-75-lx-updater window)
    install(FILES ${PACKAGING_DIR}/example.norvax.Orca75LxUpdater.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
    install(FILES ${WINDOW_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT window)
    foreach(size ${ICON_SIZES})
        install(FILES ${GENERATED_DIR}/icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME orca-75-lx-updater.png COMPONENT window)
    endforeach()
    set(CPACK_COMPONENTS_ALL cli window)
else()
    set(CPACK_COMPONENTS_ALL cli)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME orca-75-lx-updater)
set(CPACK_PACKAGE_VERSION ${PACKAGE_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PACKAGE_RELEASE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${DIST_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "NORVAX Updater Team <updater@norvax.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.norvax.example)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Set explicitly: a cross build's packages are for its target, not this machine.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL aarch64)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The folders the rules install as Debian wants them whatever the builder's umask (cpack
# itself runs under umask 022); every time in the packages comes from SOURCE_DATE_EPOCH.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME orca-75-lx-updater-cli)
set(CPACK_COMPONENT_CLI_DESCRIPTION "firmware updater for the NORVAX ORCA 75 LX speed controller (terminal)
Finds the DOCKPAD or DOCK-BOX programming unit on USB, shows the
installed versions of the unit, the controller's bootloader and its firmware,
and writes the firmware image it carries into the controller, from a shell,
a script, an SSH session or a production line. Its udev rule lets the user
at the seat and the members of plugdev use the unit without root.")
# The udev rule came with the window's package before.
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "orca-75-lx-updater (<< ${PACKAGE_FULL_VERSION})")
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "orca-75-lx-updater (<< ${PACKAGE_FULL_VERSION})")
set(CPACK_DEBIAN_CLI_PACKAGE_CONTROL_EXTRA "${PACKAGING_DIR}/postinst;${PACKAGING_DIR}/postrm")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME orca-75-lx-updater)
set(CPACK_COMPONENT_WINDOW_DESCRIPTION "firmware updater for the NORVAX ORCA 75 LX speed controller
Finds the DOCKPAD or DOCK-BOX programming unit on USB, shows the
installed versions of the unit, the controller's bootloader and its firmware
in a window, and writes the firmware image it carries into the controller.")
# Qt's platform plugins are loaded at run time, so named here.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS
    "orca-75-lx-updater-cli (= ${PACKAGE_FULL_VERSION}), qt6-qpa-plugins")
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
