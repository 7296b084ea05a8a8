# The Windows executables: statically linked, so that they need no MinGW runtime DLL.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${CMAKE_SOURCE_DIR} -I${GENERATED_DIR}")
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# Tests run under Wine, in a prefix of this build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR})

add_library(platform_win32_hid STATIC
    platform/win32/hid_win32.cpp
    platform/win32/system_library.cpp)
target_link_libraries(platform_win32_hid PUBLIC project_warnings)
add_library(platform_win32_wait STATIC platform/win32/wait_win32.cpp)
target_link_libraries(platform_win32_wait PUBLIC platform_win32_hid)
add_library(platform_win32_image STATIC platform/win32/image_win32.cpp)
target_link_libraries(platform_win32_image PUBLIC project_warnings)

# Every resource of the product; linked into the product and into the tests of the
# Windows interface as an object library, so that the linker keeps it.
add_library(product_resources OBJECT resources/orca_updater.rc)
add_dependencies(product_resources generated_resources)
file(GLOB RESOURCE_SCRIPTS ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h
    ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set_source_files_properties(resources/orca_updater.rc PROPERTIES OBJECT_DEPENDS
    "${IMAGE_FILE};${LOGO_FILE};${ICON_FILE};${RESOURCE_SCRIPTS}")
