# Per package: the .deb installs under /usr; the archive unpacks into a folder of its own.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  # Qt's Spanish texts come from Debian's qt6-translations-l10n, which the package depends on.
  # A component list is honoured only by a component install: one package of them all.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified)
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
endif()
