# Read by CPack once per generator (CPACK_PROJECT_CONFIG_FILE in cmake/PackageWindows.cmake).
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
# The strip of the mingw-w64 binutils stamps the programs with this time instead of the present one, so that
# the zip and the installer carry the very same programs.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} "${CPACK_PEL_SOURCE_DATE_EPOCH}")
endif()
