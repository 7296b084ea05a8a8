# The texts and the dialog template of the resource scripts, as C++ tables; the icon as
# PNG files at the sizes of the Windows icon.
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
