# The Windows executables: statically linked, so that they need no MinGW runtime DLL.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${CMAKE_SOURCE_DIR} -I${GENERATED_DIR}")
# No moment of linking in the header: the same source gives the same executable.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# Tests run under Wine, in a prefix of this build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR})

add_library(win32_system_library STATIC platform/win32/system_library.cpp
    platform/win32/hid_class.cpp)
add_library(platform_win32_hotplug STATIC platform/win32/hotplug_win32.cpp)
target_link_libraries(platform_win32_hotplug PUBLIC win32_system_library)
target_link_libraries(win32_system_library PUBLIC project_warnings)
add_library(platform_win32_hid STATIC platform/win32/hid_win32.cpp
    platform/win32/device_list_win32.cpp platform/win32/port_win32.cpp)
target_link_libraries(platform_win32_hid PUBLIC win32_system_library)
add_library(platform_win32_wait STATIC platform/wait/wait.cpp platform/win32/clock_win32.cpp)
target_link_libraries(platform_win32_wait PUBLIC win32_system_library)
add_library(platform_win32_image STATIC platform/win32/image_win32.cpp ${IMAGE_SHA256_SOURCE})
target_link_libraries(platform_win32_image PUBLIC project_warnings)

# Every resource of the product; linked into the product and into the tests of the
# Windows interface as an object library, so that the linker keeps it.
add_library(product_resources OBJECT resources/orca_updater.rc)
add_dependencies(product_resources generated_resources)
file(GLOB RESOURCE_SCRIPTS ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h
    ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set_source_files_properties(resources/orca_updater.rc PROPERTIES OBJECT_DEPENDS
    "${IMAGE_FILE};${LOGO_FILE};${ICON_FILE};${RESOURCE_SCRIPTS}")

# The Win32 window, as objects, drawing a session.
add_library(app_ui OBJECT
    app/entry.cpp
    app/main_dialog.cpp
    resources/windows_texts.cpp
    app/logo.cpp
    app/window_controls.cpp
    app/device_change.cpp
    app/window_thread.cpp
    app/progress_bar.cpp)
target_link_libraries(app_ui PUBLIC project_warnings)

# The shipped executables carry no symbols or debug information.
function(add_windows_program name)
    add_executable(${name} WIN32 ${ARGN} $<TARGET_OBJECTS:app_ui>
        $<TARGET_OBJECTS:product_resources>)
    target_link_libraries(${name} PRIVATE session platform_win32_hotplug)
    target_link_options(${name} PRIVATE -municode -s)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
endfunction()

# The product talks to the real unit through SetupAPI and hid.dll.
add_windows_program(orca-75-lx-updater app/product_main.cpp)
target_link_libraries(orca-75-lx-updater PRIVATE update unitlink
    platform_win32_hid platform_win32_wait platform_win32_image win32_system_library)

# The demo talks to the simulated unit, in real time.
add_windows_program(orca-75-lx-updater-demo app/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-demo PRIVATE update unitlink sim_hid
    platform_win32_wait platform_win32_image win32_system_library)

# The terminal edition: console programs on the same session, texts and resources.
add_library(terminal_ui OBJECT terminal/win32/run_program.cpp terminal/win32/device_changes.cpp
    resources/windows_texts.cpp)
target_link_libraries(terminal_ui PUBLIC project_warnings)
function(add_console_program name)
    add_executable(${name} ${ARGN} $<TARGET_OBJECTS:terminal_ui>
        $<TARGET_OBJECTS:product_resources>)
    target_link_libraries(${name} PRIVATE terminal_rules session)
    target_link_options(${name} PRIVATE -municode -s)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
endfunction()
add_console_program(orca-75-lx-updater-cli terminal/win32/product_main.cpp)
target_link_libraries(orca-75-lx-updater-cli PRIVATE update unitlink platform_win32_hotplug
    platform_win32_hid platform_win32_wait platform_win32_image win32_system_library)
add_console_program(orca-75-lx-updater-cli-demo terminal/win32/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-cli-demo PRIVATE update unitlink sim_hid sim_hotplug
    platform_win32_wait platform_win32_image win32_system_library)

# The update through the real dialog, in real time; prints figures, tests nothing.
add_executable(dialog_benchmark bench/dialog_benchmark.cpp $<TARGET_OBJECTS:app_ui>
    $<TARGET_OBJECTS:product_resources>)
target_link_libraries(dialog_benchmark PRIVATE session update unitlink sim_hid
    platform_win32_hotplug platform_win32_wait
    platform_win32_image win32_system_library)
