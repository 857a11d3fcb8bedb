# The Windows packages: the game as a player unpacks or installs it, everything in one folder.
#
#   brikatan.exe, peltool.exe   the game and the asset tool
#   data\                       the game's files
#   README.txt                  how to play, with Windows line endings
#
# The game reads data\ relative to its working directory and writes its log, its screenshot and a .bmp beside
# every image there, so the folder has to be the player's own. The zip is unpacked wherever the player likes;
# the installer installs for the current user alone, with no administrator rights, into the user's programs
# folder (%LOCALAPPDATA%\Programs\Brikatan), and its Start-menu entry starts the game in that folder.
#
# In the build folder: `cpack -G ZIP` makes brikatan-<version>-win64.zip (-win32 from the 32-bit build) and
# `cpack -G NSIS` the installer brikatan-<version>-win64-setup.exe, from cmake/NSIS.template.in.

set(PEL_INSTALL_TOOLDIR .)
install(TARGETS brikatan RUNTIME DESTINATION .)
# Expanded bitmaps from a run in the source tree are the program's output, and hidden files (data/.keep) are
# the repository's; neither is part of a package.
install(DIRECTORY data DESTINATION . PATTERN "*.bmp" EXCLUDE REGEX "/\\.[^/]*$" EXCLUDE)
configure_file(packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PEL_WINDOWS_ARCH win64)
else()
    set(PEL_WINDOWS_ARCH win32)
endif()

# The uninstaller removes what it installed (CPack lists that) and what the game wrote into its folder: the
# log, the screenshot and the bitmap expanded beside each image. A file the player put there is left, and so
# is its folder; the uninstaller never empties a folder wholesale, since the player chose where it is.
file(GLOB_RECURSE PEL_PACKAGED_IMAGES RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/data/*.spr)
set(PEL_NSIS_DELETE_OUTPUT "  Delete \"$INSTDIR\\pel3dlog.htm\"\n  Delete \"$INSTDIR\\ekrang.tga\"\n")
foreach(image ${PEL_PACKAGED_IMAGES})
    string(REGEX REPLACE "\\.spr$" ".bmp" bitmap "${image}")
    string(REPLACE "/" "\\" bitmap "${bitmap}")
    string(APPEND PEL_NSIS_DELETE_OUTPUT "  Delete \"$INSTDIR\\${bitmap}\"\n")
endforeach()

set(CPACK_GENERATOR "ZIP;NSIS")
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME brikatan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZENTRO Team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "brick-breaking game on the PEL2D engine")
set(CPACK_PACKAGE_FILE_NAME brikatan-${PROJECT_VERSION}-${PEL_WINDOWS_ARCH})
set(CPACK_STRIP_FILES ON)
# Stripping writes a new time into a program's header; the packages' generators, each stripping its own copy,
# give it the same one (cmake/PackageWindowsGenerator.cmake): the time the build was configured, or
# SOURCE_DATE_EPOCH where that is set.
string(TIMESTAMP CPACK_PEL_SOURCE_DATE_EPOCH "%s" UTC)
# The installer's own name gets -setup (cmake/PackageWindowsGenerator.cmake), so that it is not mistaken for
# the game.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/PackageWindowsGenerator.cmake)
set(CPACK_NSIS_PACKAGE_NAME Brikatan)
set(CPACK_NSIS_PEL_ARCH ${PEL_WINDOWS_ARCH})
# The installer and the uninstaller show the game's own icon, the one the build makes for brikatan.exe.
set(CPACK_NSIS_PEL_ICON ${PEL_ICON_DIR}/brikatan.ico)
set(CPACK_NSIS_PEL_DELETE_OUTPUT "${PEL_NSIS_DELETE_OUTPUT}")
include(CPack)
