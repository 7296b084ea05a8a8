# The Linux seam: hidraw and libudev for the unit, the monotonic clock for the waits, the
# image embedded by the assembler, and udev's monitor for hot-plug.
enable_language(ASM)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBUDEV REQUIRED IMPORTED_TARGET libudev)

add_library(platform_linux_hid STATIC
    platform/linux/hid_linux.cpp
    platform/linux/report_descriptor.cpp)
target_link_libraries(platform_linux_hid PUBLIC project_warnings PkgConfig::LIBUDEV)

add_library(platform_linux_wait STATIC platform/wait/wait.cpp platform/linux/clock_linux.cpp)
target_link_libraries(platform_linux_wait PUBLIC project_warnings)

set(IMAGE_ASSEMBLY ${GENERATED_DIR}/firmware_image.S)
configure_file(platform/linux/firmware_image.S.in ${IMAGE_ASSEMBLY} @ONLY)
set_source_files_properties(${IMAGE_ASSEMBLY} PROPERTIES OBJECT_DEPENDS ${IMAGE_FILE})
add_library(platform_linux_image STATIC platform/linux/image_linux.cpp ${IMAGE_ASSEMBLY}
    ${IMAGE_SHA256_SOURCE})
target_link_libraries(platform_linux_image PUBLIC project_warnings)
add_dependencies(platform_linux_image generated_resources)

add_library(platform_linux_monitor STATIC platform/linux/hotplug_linux.cpp)
target_link_libraries(platform_linux_monitor PUBLIC project_warnings PkgConfig::LIBUDEV)

include(cmake/text_tables.cmake)

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
