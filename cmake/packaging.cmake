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

# The package's documents: the copyright, the changelog (Debian's format, compressed as
# Debian wants it) and the manual pages. The pages are Spanish, the programs' only language,
# and go both into man/es and into man1, where every other locale looks.
if(NOT WIN32)
  find_program(ZENTROVA_GZIP gzip REQUIRED)
  set(man ${PROJECT_BINARY_DIR}/man)
  file(MAKE_DIRECTORY ${man})

  # OUTPUT is SOURCE compressed with gzip -9n: the most compression, no name or time inside.
  # The uncompressed file stays beside it, so that the step that writes it does not run again.
  function(zentrova_gzip source output)
    string(REGEX REPLACE "\\.gz$" "" plain ${output})
    if(NOT source STREQUAL plain)
      set(copy COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain})
    endif()
    add_custom_command(OUTPUT ${output}
      ${copy}
      COMMAND ${ZENTROVA_GZIP} -9nkf ${plain}
      DEPENDS ${source} VERBATIM)
  endfunction()

  zentrova_gzip(${PROJECT_SOURCE_DIR}/data/changelog ${PROJECT_BINARY_DIR}/doc/changelog.gz)
  # zentrova-cli's page is written from its own help, so that it follows the program.
  add_custom_command(OUTPUT ${man}/zentrova-cli.1
    COMMAND ${ZENTROVA_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/cli_manual_page.py
            $<TARGET_FILE:zentrova-cli> ${PROJECT_VERSION} ${man}/zentrova-cli.1
            --see-also zentrova
    DEPENDS zentrova-cli ${PROJECT_SOURCE_DIR}/scripts/cli_manual_page.py VERBATIM)
  zentrova_gzip(${man}/zentrova-cli.1 ${man}/zentrova-cli.1.gz)
  set(pages ${man}/zentrova-cli.1.gz)
  if(TARGET zentrova)
    # The window has no help output: its page is written by hand.
    configure_file(${PROJECT_SOURCE_DIR}/data/zentrova.1.in ${man}/source/zentrova.1 @ONLY)
    zentrova_gzip(${man}/source/zentrova.1 ${man}/zentrova.1.gz)
    list(APPEND pages ${man}/zentrova.1.gz)
  endif()
  add_custom_target(zentrova_documents ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz ${pages})

  install(FILES ${PROJECT_SOURCE_DIR}/data/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/es/man1)
endif()

# What every package says of itself, on Linux and on Windows alike.
set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VENDOR "Zentrova")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Exportar e importar datos entre Orbelin y Vetrana")
set(CPACK_PACKAGE_DESCRIPTION "\
Zentrova lleva los datos de un centro educativo entre la plataforma de
gestión escolar Vetrana y el programa de horarios Orbelin.

De Vetrana a Orbelin, convierte la exportación XML de Vetrana (materias,
profesorado, aulas, cursos, grupos y jornadas) en las tablas de la carpeta
de intercambio con las que Orbelin calcula el horario. De Orbelin a
Vetrana, guarda el horario calculado como un documento XML que Vetrana
importa.

El paquete trae la ventana, con su ayuda en español, y la orden
zentrova-cli, que hace las mismas conversiones desde la línea de órdenes.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/data/copyright)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_options.cmake)
# The packaged programs are stripped (a release build has no debug information to keep).
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # An installer (NSIS) and a .zip of the program folder, both zentrova-VERSION-win64.
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_PACKAGE_FILE_NAME "zentrova-${PROJECT_VERSION}-win64")
  # Batch mode writes Orbelin.ini beside the executable, so the folder must be one that the
  # users who run the timetabling product can write: not Program Files, but C:\Zentrova, whose
  # files every signed-in user may change (a folder made in the root of the system drive
  # gives them that; the installer also grants it to the Users group explicitly).
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Zentrova")
  # The same for every version, so that a newer installer replaces an older one in place.
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Zentrova")
  set(CPACK_NSIS_INSTALL_ROOT "C:")
  set(CPACK_NSIS_PACKAGE_NAME "Zentrova ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "Zentrova ${PROJECT_VERSION}")
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "zentrova.exe")
  # The Start-menu entry: the window.
  set(CPACK_PACKAGE_EXECUTABLES zentrova "Zentrova")
  # A 64-bit installer, as the programs are: it also runs where Windows (or Wine) has no
  # 32-bit layer. school_files.nsh keeps what the school made (its level table, Orbelin.ini)
  # through every update and removal, and lets every user change the files of the program
  # folder and of the data folder.
  set(CPACK_NSIS_DEFINES
      "Target amd64-unicode\n!include \\\"${CMAKE_CURRENT_LIST_DIR}/school_files.nsh\\\"")
  set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "!insertmacro ZentrovaBeforeInstall")
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro ZentrovaAfterInstall")
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro ZentrovaBeforeUninstall")
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_PACKAGE_FILE_NAME "zentrova-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Before an upgrade, a level table put in place of the shipped one is kept as the machine's
# own (data/preinst.in).
if(NOT WIN32)
  set(ZENTROVA_PROGRAM_DIR_RELATIVE "usr/${ZENTROVA_INSTALL_DIR}")
  set(ZENTROVA_PROGRAM_DIR "/${ZENTROVA_PROGRAM_DIR_RELATIVE}")
  configure_file(${PROJECT_SOURCE_DIR}/data/preinst.in ${PROJECT_BINARY_DIR}/debian/preinst @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/preinst)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
endif()
# An address in a reserved domain (.example) until the project has one of its own; the
# changelog and the copyright file name it as well.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zentrova <soporte@zentrova.example>")
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
