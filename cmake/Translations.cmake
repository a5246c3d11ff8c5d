# The translations' build tool: the template for translators (`make pot`),
# and the desktop entry and metainfo with every language's fields, which
# are what gets installed.
add_executable(ponderix_translations ${CMAKE_SOURCE_DIR}/packaging/Translations.cpp
  ${CMAKE_SOURCE_DIR}/base/PoCatalog.cpp ${CMAKE_SOURCE_DIR}/base/TextTable.cpp)
# Built without the test build's sanitizers, like the icon renderer: it runs
# during the build, where a leak report from Qt at its exit would fail it.
target_link_libraries(ponderix_translations PRIVATE Qt6::Core)
target_include_directories(ponderix_translations PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(ponderix_translations PRIVATE ${PONDERIX_WARNINGS})
target_compile_definitions(ponderix_translations PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER)
set_target_properties(ponderix_translations PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(PONDERIX_PO_FILES)
foreach(code IN LISTS PONDERIX_LANGUAGES)
  list(APPEND PONDERIX_PO_FILES ${CMAKE_SOURCE_DIR}/po/${code}.po)
endforeach()

set(PONDERIX_DESKTOP_ENTRY ${CMAKE_BINARY_DIR}/share/applications/ponderix.desktop)
set(PONDERIX_METAINFO ${CMAKE_BINARY_DIR}/share/metainfo/io.github.ponderix.Ponderix.metainfo.xml)
foreach(kind desktop metainfo)
  if(kind STREQUAL desktop)
    set(english ${CMAKE_SOURCE_DIR}/packaging/ponderix.desktop)
    set(output ${PONDERIX_DESKTOP_ENTRY})
  else()
    set(english ${CMAKE_SOURCE_DIR}/packaging/io.github.ponderix.Ponderix.metainfo.xml)
    set(output ${PONDERIX_METAINFO})
  endif()
  get_filename_component(output_folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_folder}
    COMMAND ponderix_translations ${kind} ${english} ${CMAKE_SOURCE_DIR}/po ${output} ${PONDERIX_LANGUAGES}
    DEPENDS ponderix_translations ${english} ${PONDERIX_PO_FILES}
    COMMENT "Adding the translations to ${english}"
    VERBATIM)
endforeach()
add_custom_target(ponderix_translated_packaging ALL DEPENDS ${PONDERIX_DESKTOP_ENTRY} ${PONDERIX_METAINFO})

# `make pot`: the template again from the English texts.
add_custom_target(pot
  COMMAND ponderix_translations pot ${CMAKE_SOURCE_DIR} > ${CMAKE_SOURCE_DIR}/po/ponderix.pot
  DEPENDS ponderix_translations
  COMMENT "Writing po/ponderix.pot"
  VERBATIM)
