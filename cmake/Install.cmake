# `make install` and `make package`: the programs, the help document, the
# desktop entry, the MIME type, the icons and the manual pages, laid out the
# way a Linux desktop looks for them under the installation prefix.
#
# The folder names are fixed rather than taken from GNUInstallDirs: the
# program finds its help document at ../share/ponderix/ from its own folder,
# so bin/ and share/ must stay side by side whatever a distribution prefers.

set(PONDERIX_DATA_FOLDER share/ponderix)
set(PONDERIX_ICON_SIZES 48 64 128 256)
set(PONDERIX_STAGE ${CMAKE_BINARY_DIR}/share)

install(TARGETS ponderix-cli RUNTIME DESTINATION bin COMPONENT ponderix)
if(TARGET ponderix)
  install(TARGETS ponderix RUNTIME DESTINATION bin COMPONENT ponderix)
endif()

# Not beside the program, where the build tree keeps its copy: bin/ holds
# only programs on Linux. The program falls back to this folder.
install(FILES ${PONDERIX_HELP_DOCUMENTS}
  DESTINATION ${PONDERIX_DATA_FOLDER} COMPONENT ponderix)

# Both with every language's fields, made by cmake/Translations.cmake.
install(FILES ${PONDERIX_DESKTOP_ENTRY} DESTINATION share/applications COMPONENT ponderix)
# What software centres list: the program's AppStream description.
install(FILES ${PONDERIX_METAINFO} DESTINATION share/metainfo COMPONENT ponderix)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/ponderix-mime.xml
  DESTINATION share/mime/packages RENAME ponderix.xml COMPONENT ponderix)

# The bitmaps of the icon theme are rendered from the scalable icon at build
# time. The tool is not part of the program and is built without the test
# build's sanitizers: a leak report from Qt at its exit would fail the build.
find_package(Qt6 6.4 REQUIRED COMPONENTS Svg)
set(icon_source ${CMAKE_SOURCE_DIR}/packaging/icons/ponderix.svg)
add_executable(ponderix_render_icon ${CMAKE_SOURCE_DIR}/packaging/RenderIcon.cpp)
target_link_libraries(ponderix_render_icon PRIVATE Qt6::Gui Qt6::Svg)
target_compile_options(ponderix_render_icon PRIVATE ${PONDERIX_WARNINGS})
target_compile_definitions(ponderix_render_icon PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER)
set_target_properties(ponderix_render_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(staged_icons)
foreach(size IN LISTS PONDERIX_ICON_SIZES)
  set(icon_folder icons/hicolor/${size}x${size}/apps)
  set(icon ${PONDERIX_STAGE}/${icon_folder}/ponderix.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PONDERIX_STAGE}/${icon_folder}
    COMMAND ponderix_render_icon ${icon_source} ${size} ${icon}
    DEPENDS ponderix_render_icon ${icon_source}
    COMMENT "Rendering the ${size} pixel icon"
    VERBATIM)
  install(FILES ${icon} DESTINATION share/${icon_folder} COMPONENT ponderix)
  list(APPEND staged_icons ${icon})
endforeach()
install(FILES ${icon_source} DESTINATION share/icons/hicolor/scalable/apps COMPONENT ponderix)

# Manual pages go in compressed, as Debian ships them; -n keeps the name and
# time stamp out of the archive so the package is reproducible.
set(staged_manuals)
foreach(page ponderix.1 ponderix-cli.1)
  set(manual ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${manual}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${CMAKE_SOURCE_DIR}/packaging/man/${page} ${manual}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/man/${page}
    COMMENT "Compressing the manual page ${page}"
    VERBATIM)
  install(FILES ${manual} DESTINATION share/man/man1 COMPONENT ponderix)
  list(APPEND staged_manuals ${manual})
endforeach()

add_custom_target(ponderix_install_files ALL DEPENDS ${staged_icons} ${staged_manuals})

# The Debian package. dpkg-shlibdeps works out the libraries the programs
# link; what it cannot see is named here: the pages are laid out in Arial
# metrics, which Liberation Sans provides, and the help document and web
# addresses are opened through xdg-open; Qt's own translations give the
# buttons of message boxes in the user's language.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ponderix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Ponderix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weighted decision matrix for choosing between alternatives")
# No semicolons in here: CMake would read the text as a list and drop them.
set(CPACK_PACKAGE_DESCRIPTION "\
Ponderix helps one person choose between alternatives. Options are rated under
criteria of different importance, and Ponderix computes a score per option,
names the best ones, draws charts, writes an HTML report and exports text and
images. The package holds the desktop program and ponderix-cli, a command-line
tool over the same project files.")
set(PONDERIX_PACKAGE_MAINTAINER "The Ponderix developers <ponderix@users.noreply.github.com>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${PONDERIX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PONDERIX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/ponderix/ponderix")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
