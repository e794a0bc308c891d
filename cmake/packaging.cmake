# Installation: the window expects zentrova-cli, NIVELEX.DBF, VETRANA.chm and the help pages
# beside its executable, so everything goes into one program folder. Elsewhere than Windows
# that folder is lib/zentrova, with links in bin and a menu entry.
include(GNUInstallDirs)

if(WIN32)
  set(ZENTROVA_INSTALL_DIR "." CACHE STRING "The program folder, relative to the prefix")
else()
  set(ZENTROVA_INSTALL_DIR "lib/zentrova" CACHE STRING "The program folder, relative to the prefix")
endif()

set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
install(TARGETS zentrova-cli RUNTIME DESTINATION ${ZENTROVA_INSTALL_DIR})
install(FILES ${bin}/NIVELEX.DBF DESTINATION ${ZENTROVA_INSTALL_DIR})
if(TARGET zentrova)
  install(TARGETS zentrova RUNTIME DESTINATION ${ZENTROVA_INSTALL_DIR})
  install(DIRECTORY ${bin}/help DESTINATION ${ZENTROVA_INSTALL_DIR})
  # Qt's Spanish texts: the archive carries them; the .deb takes Debian's package instead.
  if(ZENTROVA_QTBASE_ES)
    install(FILES ${bin}/translations/qtbase_es.qm DESTINATION ${ZENTROVA_INSTALL_DIR}/translations
            COMPONENT qt_spanish)
  endif()
  if(ZENTROVA_CHMCMD)
    install(FILES ${bin}/VETRANA.chm DESTINATION ${ZENTROVA_INSTALL_DIR})
  endif()
endif()

if(NOT WIN32)
  # The programs find their files through their own resolved path, so a link in bin works.
  set(links zentrova-cli)
  if(TARGET zentrova)
    list(APPEND links zentrova)
    install(FILES ${PROJECT_SOURCE_DIR}/data/zentrova.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  endif()
  foreach(program IN LISTS links)
    install(CODE "
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
      file(RELATIVE_PATH target
        \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
        \"\${CMAKE_INSTALL_PREFIX}/${ZENTROVA_INSTALL_DIR}/${program}\")
      message(STATUS \"Installing: \${link} -> \${target}\")
      file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)")
  endforeach()
endif()

set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VENDOR "Zentrova")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Exportar e importar datos entre Orbelin y Vetrana")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_FILE_NAME "zentrova-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_options.cmake)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zentrova <zentrova@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The libraries come from dpkg-shlibdeps where it is installed (Debian: dpkg-dev); the
# window's platform plugin and font are no libraries and are named here.
find_program(ZENTROVA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZENTROVA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6 (>= 6.4), libpugixml1v5, libicu72, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
endif()
include(CPack)
