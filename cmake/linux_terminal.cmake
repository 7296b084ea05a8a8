# The terminal edition: no Qt; the session over standard streams.
add_library(terminal_ui OBJECT terminal/console_window.cpp
    terminal/posix_main.cpp)
target_link_libraries(terminal_ui PUBLIC project_warnings)
function(add_terminal_program name)
    add_executable(${name} ${ARGN} $<TARGET_OBJECTS:terminal_ui> $<TARGET_OBJECTS:session>
        $<TARGET_OBJECTS:window_queue> $<TARGET_OBJECTS:terminal_session>)
    target_link_libraries(${name} PRIVATE locale_texts update unitlink platform_linux_wait
        platform_linux_image Threads::Threads)
    ship_in_dist(${name})
endfunction()
find_package(Threads REQUIRED)
add_terminal_program(orca-75-lx-updater-cli terminal/product_main.cpp)
target_link_libraries(orca-75-lx-updater-cli PRIVATE platform_linux_hid)
add_terminal_program(orca-75-lx-updater-cli-demo terminal/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-cli-demo PRIVATE sim_hid)
static_for_emulator(orca-75-lx-updater-cli-demo)
