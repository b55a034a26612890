# Run by CPack after each package it makes. Beside the installer it writes
# the winget manifests for it (winget/VERSION/), from the templates here,
# with the digest of the very file just made: a manifest whose digest does
# not match its installer is refused by winget.
if(NOT CPACK_GENERATOR STREQUAL "NSIS")
  return()
endif()
set(installer "")
foreach(file IN LISTS CPACK_PACKAGE_FILES)
  if(file MATCHES "-setup\\.exe$")
    set(installer "${file}")
  endif()
endforeach()
if(NOT EXISTS "${installer}")
  message(FATAL_ERROR "no installer among the packages made: ${CPACK_PACKAGE_FILES}")
endif()

file(SHA256 "${installer}" digest)
string(TOUPPER "${digest}" PRAVEL_INSTALLER_SHA256)
get_filename_component(PRAVEL_INSTALLER_FILE "${installer}" NAME)
set(folder "${CPACK_PACKAGE_DIRECTORY}")
set(PRAVEL_VERSION "${CPACK_PACKAGE_VERSION}")
set(PRAVEL_PUBLISHER "${CPACK_PACKAGE_VENDOR}")
set(PRAVEL_RELEASE_URL "${CPACK_PRAVEL_RELEASE_URL}")

file(GLOB templates "${CPACK_PRAVEL_SOURCE_DIR}/packaging/winget/*.yaml.in")
file(REMOVE_RECURSE "${folder}/winget/${PRAVEL_VERSION}")
foreach(template IN LISTS templates)
  get_filename_component(name "${template}" NAME)
  string(REGEX REPLACE "\\.in$" "" name "${name}")
  configure_file("${template}" "${folder}/winget/${PRAVEL_VERSION}/${name}" @ONLY NEWLINE_STYLE CRLF)
endforeach()
message(STATUS "winget manifests for ${PRAVEL_INSTALLER_FILE}: ${folder}/winget/${PRAVEL_VERSION}")
