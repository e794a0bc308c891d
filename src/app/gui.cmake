# The Qt window: TMForm, its host, help and the time-frame dialog, and the zentrova program.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)

add_library(zentrova_gui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/gradient_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../import/dialog/plantillas.cpp)
set_target_properties(zentrova_gui PROPERTIES AUTOMOC ON)
target_link_libraries(zentrova_gui PUBLIC zentrova_core Qt6::Widgets)
# The core has members named slots(); Qt's keyword macros stay off.
target_compile_definitions(zentrova_gui PUBLIC QT_NO_KEYWORDS)

add_executable(zentrova WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(zentrova PRIVATE zentrova_gui)

# Help: the pages beside the executables (our own help window reads them) and, compiled
# by chmcmd, VETRANA.chm for the HTML Help viewer.
set(ZENTROVA_HELP_SOURCE ${PROJECT_SOURCE_DIR}/data/help)
file(GLOB ZENTROVA_HELP_PAGES CONFIGURE_DEPENDS
  ${ZENTROVA_HELP_SOURCE}/*.html ${ZENTROVA_HELP_SOURCE}/*.css)
file(GLOB ZENTROVA_HELP_PROJECT CONFIGURE_DEPENDS
  ${ZENTROVA_HELP_SOURCE}/*.hhp ${ZENTROVA_HELP_SOURCE}/*.hhc ${ZENTROVA_HELP_SOURCE}/*.hhk)
set(ZENTROVA_HELP_OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help)
set(help_outputs)
foreach(page IN LISTS ZENTROVA_HELP_PAGES)
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${ZENTROVA_HELP_OUTPUT}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page} ${ZENTROVA_HELP_OUTPUT}/${name}
    DEPENDS ${page} VERBATIM)
  list(APPEND help_outputs ${ZENTROVA_HELP_OUTPUT}/${name})
endforeach()

find_program(ZENTROVA_CHMCMD chmcmd)
if(ZENTROVA_CHMCMD)
  # chmcmd writes the .chm into its working folder.
  set(chm_work ${CMAKE_CURRENT_BINARY_DIR}/chm)
  file(MAKE_DIRECTORY ${chm_work})
  add_custom_command(OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VETRANA.chm
    COMMAND ${CMAKE_COMMAND} -E copy ${ZENTROVA_HELP_PAGES} ${ZENTROVA_HELP_PROJECT} ${chm_work}
    COMMAND ${ZENTROVA_CHMCMD} --verbosity 0 VETRANA.hhp
    COMMAND ${CMAKE_COMMAND} -E copy VETRANA.chm ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VETRANA.chm
    WORKING_DIRECTORY ${chm_work}
    DEPENDS ${ZENTROVA_HELP_PAGES} ${ZENTROVA_HELP_PROJECT}
    COMMENT "Compilando la ayuda VETRANA.chm" VERBATIM)
  list(APPEND help_outputs ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VETRANA.chm)
else()
  message(WARNING "chmcmd (Debian: fp-utils) not found: VETRANA.chm is not built")
endif()
add_custom_target(zentrova_help ALL DEPENDS ${help_outputs})
add_dependencies(zentrova zentrova_help)

# The documentation's pictures (scripts/render_pictures.sh); not installed.
add_executable(zentrova-pictures ${CMAKE_CURRENT_LIST_DIR}/render_pictures.cpp)
target_link_libraries(zentrova-pictures PRIVATE zentrova_gui)
