# Binary resources are produced by a small generator from code. In a cross build the
# generator must run on the build machine, so it is compiled with the host compiler.
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${GENERATED_DIR})
file(GLOB GENERATOR_SOURCES ${CMAKE_SOURCE_DIR}/resources/generate/*)

if(CMAKE_CROSSCOMPILING)
    find_program(HOST_CXX NAMES g++ c++ REQUIRED)
    set(GENERATOR ${CMAKE_BINARY_DIR}/host/generate_resources)
    add_custom_command(OUTPUT ${GENERATOR}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
        COMMAND ${HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Werror -I${CMAKE_SOURCE_DIR}
                -o ${GENERATOR} ${CMAKE_SOURCE_DIR}/resources/generate/generate_resources.cpp
        DEPENDS ${GENERATOR_SOURCES}
        COMMENT "Building the resource generator for the build machine")
    # One target builds it; the rules that run it depend on that target, not on the file,
    # so that a parallel build never builds it twice at once.
    add_custom_target(host_generator DEPENDS ${GENERATOR})
else()
    add_executable(generate_resources resources/generate/generate_resources.cpp)
    target_link_libraries(generate_resources PRIVATE project_warnings)
    set(GENERATOR $<TARGET_FILE:generate_resources>)
endif()

# The image is an input of the build: a real one is passed as FIRMWARE_IMAGE, otherwise a
# fixed pseudo-random block of the product's size stands in.
set(FIRMWARE_IMAGE "" CACHE FILEPATH "Firmware image to embed; empty: the generated stand-in")
set(GENERATOR_DEPENDS ${GENERATOR_SOURCES}
    $<$<NOT:$<BOOL:${CMAKE_CROSSCOMPILING}>>:generate_resources>
    $<$<BOOL:${CMAKE_CROSSCOMPILING}>:host_generator>)
set(IMAGE_FILE ${GENERATED_DIR}/firmware.bin)
set(LOGO_FILE ${GENERATED_DIR}/logo.bmp)
set(ICON_FILE ${GENERATED_DIR}/app.ico)
add_custom_command(OUTPUT ${LOGO_FILE} COMMAND ${GENERATOR} logo ${LOGO_FILE} DEPENDS ${GENERATOR_DEPENDS})
add_custom_command(OUTPUT ${ICON_FILE} COMMAND ${GENERATOR} icon ${ICON_FILE} DEPENDS ${GENERATOR_DEPENDS})
if(FIRMWARE_IMAGE)
    add_custom_command(OUTPUT ${IMAGE_FILE}
        COMMAND ${CMAKE_COMMAND} -DIMAGE=${FIRMWARE_IMAGE} -P ${CMAKE_SOURCE_DIR}/cmake/check_image.cmake
        COMMAND ${CMAKE_COMMAND} -E copy ${FIRMWARE_IMAGE} ${IMAGE_FILE}
        DEPENDS ${FIRMWARE_IMAGE} ${CMAKE_SOURCE_DIR}/cmake/check_image.cmake)
else()
    add_custom_command(OUTPUT ${IMAGE_FILE}
        COMMAND ${GENERATOR} image ${IMAGE_FILE}
        COMMAND ${CMAKE_COMMAND} -DIMAGE=${IMAGE_FILE} -P ${CMAKE_SOURCE_DIR}/cmake/check_image.cmake
        DEPENDS ${GENERATOR_DEPENDS} ${CMAKE_SOURCE_DIR}/cmake/check_image.cmake)
endif()
# The image's digest as the build took it, compiled into each program that embeds the image.
set(IMAGE_SHA256_SOURCE ${GENERATED_DIR}/image_sha256.cpp)
add_custom_command(OUTPUT ${IMAGE_SHA256_SOURCE}
    COMMAND ${CMAKE_COMMAND} -DIMAGE=${IMAGE_FILE} -DOUTPUT=${IMAGE_SHA256_SOURCE}
            -P ${CMAKE_SOURCE_DIR}/cmake/image_sha256.cmake
    DEPENDS ${IMAGE_FILE} ${CMAKE_SOURCE_DIR}/cmake/image_sha256.cmake)
add_custom_target(generated_resources DEPENDS ${IMAGE_FILE} ${LOGO_FILE} ${ICON_FILE}
    ${IMAGE_SHA256_SOURCE})
