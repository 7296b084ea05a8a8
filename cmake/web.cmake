# The browser edition: the core and its WebHID seam as WebAssembly for a Dedicated
# Worker, the page that shows the session's view, and the demo site, where a fake WebHID
# device answers as the simulated unit does. Static files: build/web and build/web-demo.
set(WEB_SITE ${CMAKE_SOURCE_DIR}/build/web)
set(WEB_DEMO_SITE ${CMAKE_SOURCE_DIR}/build/web-demo)
include(cmake/text_tables.cmake)

set(IMAGE_SOURCE ${GENERATED_DIR}/firmware_image.cpp)
add_custom_command(OUTPUT ${IMAGE_SOURCE}
    COMMAND ${CMAKE_COMMAND} -DIMAGE=${IMAGE_FILE} -DOUTPUT=${IMAGE_SOURCE}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_image.cmake
    DEPENDS ${IMAGE_FILE} ${CMAKE_SOURCE_DIR}/cmake/embed_image.cmake)
add_library(platform_web STATIC
    platform/web/hid_web.cpp
    platform/wait/wait.cpp
    platform/web/clock_web.cpp
    platform/web/hotplug_web.cpp
    platform/web/image_web.cpp
    ${IMAGE_SOURCE}
    ${IMAGE_SHA256_SOURCE})
target_link_libraries(platform_web PUBLIC project_warnings)

# The core calls that wait for the browser are suspended by JSPI or Asyncify; the worker's
# script calls in through ccall, and finds the entries JSPI wraps by their names (the
# exports library keeps the module's export names).
add_executable(orca_core app_web/web_front_end.cpp app_web/web_program.cpp)
target_link_libraries(orca_core PRIVATE session locale_texts platform_web)
set_target_properties(orca_core PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${WEB_SITE})
target_link_options(orca_core PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sMODULARIZE -sEXPORT_NAME=createCore
    -sENVIRONMENT=worker -sALLOW_MEMORY_GROWTH -sFILESYSTEM=0
    "-sEXPORTED_FUNCTIONS=_orcaStart,_orcaLanguage,_orcaUpdate,_orcaDeviceChanges,_orcaPageTexts,_malloc,_free"
    "-sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString" -lexports.js)

# The simulated unit for the fake device.
add_executable(sim_device sim/web/sim_device.cpp)
target_link_libraries(sim_device PRIVATE sim_unit)
set_target_properties(sim_device PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${WEB_DEMO_SITE})
target_link_options(sim_device PRIVATE -sMODULARIZE -sEXPORT_NAME=createSimDevice
    -sENVIRONMENT=worker -sALLOW_MEMORY_GROWTH -sFILESYSTEM=0
    "-sEXPORTED_FUNCTIONS=_malloc,_free" "-sEXPORTED_RUNTIME_METHODS=HEAPU8,HEAP32,HEAPF64")

# The generator's PNG files are stored uncompressed; a page's should not be, nor carry the
# moment they were made, which would make each build's files new to the service worker.
# The logo's green background is its transparent colour, as in the windows.
find_program(CONVERT convert REQUIRED)
# The installed app's icons (192 and 512 pixels, and a maskable one) are the window's
# drawing too; the page's tab takes the 32 and the 192 one.
set(WEB_IMAGES ${GENERATED_DIR}/web/logo.png ${GENERATED_DIR}/web/icon-32.png
    ${GENERATED_DIR}/web/icon-192.png
    ${GENERATED_DIR}/web/icon-512.png ${GENERATED_DIR}/web/icon-maskable-512.png)
add_custom_command(OUTPUT ${WEB_IMAGES} VERBATIM
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED_DIR}/web
    COMMAND ${GENERATOR} logo-png ${GENERATED_DIR}/logo.png
    COMMAND ${GENERATOR} icon-png 192 ${GENERATED_DIR}/icon-192.png
    COMMAND ${GENERATOR} icon-png 512 ${GENERATED_DIR}/icon-512.png
    COMMAND ${GENERATOR} maskable-icon-png 512 ${GENERATED_DIR}/icon-maskable-512.png
    COMMAND ${CONVERT} ${GENERATED_DIR}/logo.png -transparent "#00FF00" -strip -define png:compression-level=9
            ${GENERATED_DIR}/web/logo.png
    COMMAND ${CONVERT} ${GENERATED_DIR}/icon-32.png -strip -define png:compression-level=9 ${GENERATED_DIR}/web/icon-32.png
    COMMAND ${CONVERT} ${GENERATED_DIR}/icon-192.png -strip -define png:compression-level=9 ${GENERATED_DIR}/web/icon-192.png
    COMMAND ${CONVERT} ${GENERATED_DIR}/icon-512.png -strip -define png:compression-level=9 ${GENERATED_DIR}/web/icon-512.png
    COMMAND ${CONVERT} ${GENERATED_DIR}/icon-maskable-512.png -strip -define png:compression-level=9
            ${GENERATED_DIR}/web/icon-maskable-512.png
    DEPENDS ${GENERATOR_DEPENDS} ${ICON_PNGS})
set(WEB_FILES app_web/index.html app_web/page.js app_web/style.css app_web/worker.js
    app_web/manifest.webmanifest platform/web/web_hid.js)
list(TRANSFORM WEB_FILES PREPEND ${CMAKE_SOURCE_DIR}/)
# Each site's service worker caches that site's files, so it is made after them.
set(OFFLINE_SCRIPT ${CMAKE_SOURCE_DIR}/cmake/web_offline.cmake)
set(SERVICE_WORKER ${CMAKE_SOURCE_DIR}/app_web/service_worker.js.in)
add_custom_target(web_page ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${WEB_SITE}
    COMMAND ${CMAKE_COMMAND} -E copy ${WEB_FILES} ${WEB_IMAGES} ${WEB_SITE}
    COMMAND ${CMAKE_COMMAND} -DSITE=${WEB_SITE} -DTEMPLATE=${SERVICE_WORKER} -P ${OFFLINE_SCRIPT}
    DEPENDS ${WEB_FILES} ${WEB_IMAGES} orca_core ${SERVICE_WORKER} ${OFFLINE_SCRIPT}
    COMMENT "The page in build/web")

# The demo site: the page with the fake device loaded first, in the page and the worker.
add_custom_target(web_demo ALL
    COMMAND ${CMAKE_COMMAND} -DSITE=${WEB_SITE} -DDEMO=${WEB_DEMO_SITE}
            -DFAKE=${CMAKE_SOURCE_DIR}/sim/web/fake_hid.js
            -P ${CMAKE_SOURCE_DIR}/cmake/web_demo_site.cmake
    COMMAND ${CMAKE_COMMAND} -DSITE=${WEB_DEMO_SITE} -DTEMPLATE=${SERVICE_WORKER} -P ${OFFLINE_SCRIPT}
    DEPENDS web_page sim_device ${CMAKE_SOURCE_DIR}/sim/web/fake_hid.js
            ${CMAKE_SOURCE_DIR}/cmake/web_demo_site.cmake
    COMMENT "The demo site in build/web-demo")
