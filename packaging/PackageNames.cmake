# Read by CPack once per generator: the installer has a name of its own
# beside the zip's.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PRAVEL_INSTALLER_FILE_NAME}")
endif()
