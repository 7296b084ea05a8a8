# The Linux seam: hidraw and libudev for the unit, the monotonic clock for the waits, the
# image embedded by the assembler, and udev's monitor for hot-plug.
enable_language(ASM)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBUDEV REQUIRED IMPORTED_TARGET libudev)

add_library(platform_linux_hid STATIC
    platform/linux/hid_linux.cpp
    platform/linux/report_descriptor.cpp)
target_link_libraries(platform_linux_hid PUBLIC project_warnings PkgConfig::LIBUDEV)

add_library(platform_linux_wait STATIC platform/linux/wait_linux.cpp)
target_link_libraries(platform_linux_wait PUBLIC project_warnings)

set(IMAGE_ASSEMBLY ${GENERATED_DIR}/firmware_image.S)
configure_file(platform/linux/firmware_image.S.in ${IMAGE_ASSEMBLY} @ONLY)
set_source_files_properties(${IMAGE_ASSEMBLY} PROPERTIES OBJECT_DEPENDS ${IMAGE_FILE})
add_library(platform_linux_image STATIC platform/linux/image_linux.cpp ${IMAGE_ASSEMBLY})
target_link_libraries(platform_linux_image PUBLIC project_warnings)
add_dependencies(platform_linux_image generated_resources)

add_library(platform_linux_monitor STATIC platform/linux/hotplug_linux.cpp)
target_link_libraries(platform_linux_monitor PUBLIC project_warnings PkgConfig::LIBUDEV)

# The texts and the dialog template of the resource scripts, as C++ tables for the Qt
# window; the icon as PNG files at the sizes of the Windows icon.
set(TEXT_TABLES ${GENERATED_DIR}/text_tables.cpp)
set(RESOURCE_SCRIPTS_FOR_TEXTS
    ${CMAKE_SOURCE_DIR}/resources/resource_ids.h
    ${CMAKE_SOURCE_DIR}/resources/strings.en.rc ${CMAKE_SOURCE_DIR}/resources/strings.de.rc
    ${CMAKE_SOURCE_DIR}/resources/dialog.en.rc ${CMAKE_SOURCE_DIR}/resources/dialog.de.rc)
add_custom_command(OUTPUT ${TEXT_TABLES}
    COMMAND ${GENERATOR} texts ${TEXT_TABLES} ${RESOURCE_SCRIPTS_FOR_TEXTS}
    DEPENDS ${GENERATOR_DEPENDS} ${RESOURCE_SCRIPTS_FOR_TEXTS})
add_library(text_tables STATIC ${TEXT_TABLES})
target_link_libraries(text_tables PUBLIC project_warnings)
# loadText() over those tables, in the locale's language.
add_library(locale_texts STATIC resources/locale_texts.cpp)
target_link_libraries(locale_texts PUBLIC text_tables)

set(ICON_SIZES 16 32 48 64 128 256)
set(ICON_PNGS)
foreach(size ${ICON_SIZES})
    set(png ${GENERATED_DIR}/icon-${size}.png)
    add_custom_command(OUTPUT ${png} COMMAND ${GENERATOR} icon-png ${size} ${png}
        DEPENDS ${GENERATOR_DEPENDS})
    list(APPEND ICON_PNGS ${png})
endforeach()
add_custom_target(icon_pngs DEPENDS ${ICON_PNGS})

# build/dist receives the executables of the preset that ships them (linux), not those
# of the test build.
option(DIST_OUTPUT "Put the executables into build/dist" OFF)
function(ship_in_dist name)
    if(DIST_OUTPUT)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
    endif()
endfunction()
# Under qemu-user a dynamically linked program hangs at its first thread; what runs
# threads there (the tests, the demo) is linked statically for it.
option(STATIC_FOR_EMULATOR "Link the tests and the demo statically, for qemu-user" OFF)
function(static_for_emulator name)
    if(STATIC_FOR_EMULATOR)
        target_link_options(${name} PRIVATE -static)
    endif()
endfunction()

include(cmake/linux_terminal.cmake)
option(WITH_WINDOW "Build the Qt window" ON)
if(WITH_WINDOW)
    include(cmake/linux_window.cmake)
endif()
include(cmake/package.cmake)
