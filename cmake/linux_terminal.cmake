# The terminal edition: no Qt; the session over standard streams.
function(add_terminal_program name)
    add_executable(${name} ${ARGN} terminal/linux/run_program.cpp)
    target_link_libraries(${name} PRIVATE terminal_rules session update unitlink locale_texts
        platform_linux_wait platform_linux_image Threads::Threads)
    ship_in_dist(${name})
endfunction()
find_package(Threads REQUIRED)
add_terminal_program(orca-75-lx-updater-cli terminal/linux/product_main.cpp)
target_link_libraries(orca-75-lx-updater-cli PRIVATE platform_linux_hid platform_linux_monitor)
add_terminal_program(orca-75-lx-updater-cli-demo terminal/linux/demo_main.cpp)
target_link_libraries(orca-75-lx-updater-cli-demo PRIVATE sim_hid sim_hotplug)
static_for_emulator(orca-75-lx-updater-cli-demo)

# The parallel line with 1, 4 and 8 simulated units in real time; prints figures.
add_executable(parallel_benchmark bench/parallel_benchmark.cpp)
target_link_libraries(parallel_benchmark PRIVATE terminal_rules session update unitlink
    locale_texts platform_linux_wait sim_image sim_hid Threads::Threads)
