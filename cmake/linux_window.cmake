# The Qt window of the Linux edition.
# The Qt window, as objects, drawing a session.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_library(app_qt OBJECT
    app_qt/entry.cpp
    app_qt/main_window.cpp
    app_qt/window_controls.cpp
    app_qt/window_thread.cpp
    app_qt/progress_bar.cpp
    app_qt/reading_order.cpp
    app_qt/logo.cpp)
target_link_libraries(app_qt PUBLIC project_warnings session locale_texts Qt6::Widgets)
add_dependencies(app_qt generated_resources icon_pngs)
# Format 1 carries no file times: the artwork's bytes do not depend on when rcc last ran,
# which a build that only changed SOURCE_DATE_EPOCH would not rerun.
qt_add_resources(app_qt artwork PREFIX / BASE ${GENERATED_DIR} FILES ${LOGO_FILE} ${ICON_PNGS}
    OPTIONS --format-version 1)

function(add_linux_program name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE app_qt session update unitlink locale_texts
        platform_linux_wait platform_linux_image platform_linux_monitor)
    ship_in_dist(${name})
endfunction()

# The product talks to the real unit through hidraw; the demo to the simulated unit.
add_linux_program(orca-75-lx-updater app_qt/product_main.cpp)
target_link_libraries(orca-75-lx-updater PRIVATE platform_linux_hid)
add_linux_program(orca-75-lx-updater-demo app_qt/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-demo PRIVATE sim_hid)

# The Linux window's start and a whole update through it, in real time.
add_executable(window_benchmark bench/window_benchmark.cpp)
target_link_libraries(window_benchmark PRIVATE app_qt session update unitlink locale_texts
    sim_hid platform_linux_wait platform_linux_image platform_linux_monitor)
