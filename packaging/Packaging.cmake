# How the program lands on a Debian system: programs in /usr/bin, the shipped
# files in /usr/share/codelumo, a menu entry that offers the program for the
# documents it reads, the window icon in the hicolor theme, and the .deb
# that carries it all (./lumo package).

if(TARGET codelumo)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/codelumo.desktop DESTINATION share/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/codelumo-mime.xml DESTINATION share/mime/packages RENAME codelumo.xml)

  # The menu shows the window's own picture, rendered from the code that
  # draws it, at the sizes the icon theme asks for most.
  set(LUMO_ICON_SIZES 16 22 24 32 48 64 128 256)
  set(LUMO_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
  add_executable(lumo_make_icons ${CMAKE_CURRENT_LIST_DIR}/make_icons.cpp)
  target_link_libraries(lumo_make_icons PRIVATE lumo_gui)
  set_target_properties(lumo_make_icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(LUMO_ICONS)
  foreach(size ${LUMO_ICON_SIZES})
    list(APPEND LUMO_ICONS ${LUMO_ICON_DIR}/${size}x${size}/apps/codelumo.png)
  endforeach()
  add_custom_command(OUTPUT ${LUMO_ICONS}
    COMMAND lumo_make_icons ${LUMO_ICON_DIR} ${LUMO_ICON_SIZES}
    DEPENDS lumo_make_icons
    COMMENT "Rendering the window icon for the desktop menu")
  add_custom_target(lumo_icons ALL DEPENDS ${LUMO_ICONS})
  install(DIRECTORY ${LUMO_ICON_DIR} DESTINATION share/icons)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME codelumo)
set(CPACK_PACKAGE_VENDOR RX_Lumo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Browser und Dokumentierer für VBA-Code aus Word-Dokumenten")
# The summary above is the first line of the control field; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Word Code Lumo liest die VBA-Projekte von Word-Dokumenten und -Vorlagen,
anderen Office-Dateien und Ordnern exportierter Module, ohne dass Office
installiert sein muss. Der Code erscheint farbig in einer Liste der Module
und Routinen; Definitionen, Aufrufer und Text lassen sich suchen, und der
Code wird als farbiges HTML, RTF, Text oder Gliederung exportiert.
Dazu gehört codelumo-cli, das ohne Fenster auflistet, einliest und
exportiert, für Skripte.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Code Lumo <codelumo@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Libraries the programs link come from dpkg-shlibdeps; what they load at run
# time is named here: the window system plug-ins (the xcb one above all) and
# Qt's German texts for its own dialogs.
# libgsf too is loaded by name, when the first Office file is read; its
# package is named after its shared library name (libgsf-1.so.114 comes in
# libgsf-1-114).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(REPLACE ".so." "-" lumo_gsf_package "${LUMO_GSF_SONAME}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, ${lumo_gsf_package}")
# The help page and the HTML preview open in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
include(CPack)
