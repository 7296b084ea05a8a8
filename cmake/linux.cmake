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

add_library(platform_linux_monitor STATIC platform/linux/device_monitor.cpp)
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

set(ICON_SIZES 16 32 48 64 128)
set(ICON_PNGS)
foreach(size ${ICON_SIZES})
    set(png ${GENERATED_DIR}/icon-${size}.png)
    add_custom_command(OUTPUT ${png} COMMAND ${GENERATOR} icon-png ${size} ${png}
        DEPENDS ${GENERATOR_DEPENDS})
    list(APPEND ICON_PNGS ${png})
endforeach()
add_custom_target(icon_pngs DEPENDS ${ICON_PNGS})

# The Qt window, as objects: with the session it defines the update's feedback and calls
# the update.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_library(app_qt OBJECT
    app_qt/entry.cpp
    app_qt/main_window.cpp
    app_qt/window_controls.cpp
    app_qt/window_thread.cpp
    app_qt/progress_bar.cpp)
target_link_libraries(app_qt PUBLIC project_warnings session locale_texts platform_linux_monitor
    Qt6::Widgets)
add_dependencies(app_qt generated_resources icon_pngs)
qt_add_resources(app_qt artwork PREFIX / BASE ${GENERATED_DIR} FILES ${LOGO_FILE} ${ICON_PNGS})

# build/dist receives the executables of the preset that ships them (linux), not those
# of the test build.
option(DIST_OUTPUT "Put the executables into build/dist" OFF)
function(add_linux_program name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE app_qt session update unitlink platform_linux_wait
        platform_linux_image)
    if(DIST_OUTPUT)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
    endif()
endfunction()

# The product talks to the real unit through hidraw; the demo to the simulated unit.
add_linux_program(orca-75-lx-updater app_qt/product_main.cpp)
target_link_libraries(orca-75-lx-updater PRIVATE platform_linux_hid)
add_linux_program(orca-75-lx-updater-demo app_qt/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-demo PRIVATE sim_hid)
# The terminal edition: no Qt; the session over standard streams.
add_library(terminal_ui OBJECT terminal/console_window.cpp terminal/console_thread.cpp
    terminal/posix_main.cpp)
target_link_libraries(terminal_ui PUBLIC project_warnings)
function(add_terminal_program name)
    add_executable(${name} ${ARGN} $<TARGET_OBJECTS:terminal_ui> $<TARGET_OBJECTS:session>
        $<TARGET_OBJECTS:window_queue> $<TARGET_OBJECTS:terminal_session>)
    target_link_libraries(${name} PRIVATE locale_texts update unitlink platform_linux_wait
        platform_linux_image Threads::Threads)
    if(DIST_OUTPUT)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
    endif()
endfunction()
find_package(Threads REQUIRED)
add_terminal_program(orca-75-lx-updater-cli terminal/product_main.cpp)
target_link_libraries(orca-75-lx-updater-cli PRIVATE platform_linux_hid)
add_terminal_program(orca-75-lx-updater-cli-demo terminal/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-cli-demo PRIVATE sim_hid)

include(cmake/package.cmake)
