# Read by CPack once per generator (CPACK_PROJECT_CONFIG_FILE in cmake/PackageWindows.cmake).
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
