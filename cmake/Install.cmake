# Installing the game the way Debian lays out games, and packing that install into a .deb with CPack.
#
#   <prefix>/games/brikatan                    the launcher players run (packaging/brikatan.in)
#   <prefix>/lib/games/brikatan/brikatan       the program itself, started only by the launcher
#   <prefix>/share/games/brikatan/data/        the game's files, read-only
#   <prefix>/share/applications/brikatan.desktop, <prefix>/share/icons/hicolor/<size>/apps/brikatan.png
#   <prefix>/bin/peltool                       the asset tool (installed by tools/peltool)
#   <prefix>/share/man/man6/brikatan.6.gz, <prefix>/share/man/man1/peltool.1.gz
#   <prefix>/share/metainfo/example.zentro.brikatan.metainfo.xml     the software centres' entry (AppStream)
#   <prefix>/share/doc/brikatan/copyright, changelog.gz; <prefix>/share/lintian/overrides/brikatan
#
# Games go to games/ and their files to lib/games and share/games, as Debian's policy for games asks; /usr/games
# is on the path Debian gives its users. The folders are cache variables, relative to the prefix, so that a
# home install can put the launcher in bin/ instead. The launcher finds the program and the data relative to
# its own place, so the installed tree can be moved.
include(GNUInstallDirs)

set(PEL_INSTALL_GAMESDIR "games" CACHE STRING "Folder of the brikatan command, relative to the prefix")
set(PEL_INSTALL_PROGRAMDIR "lib/games/brikatan" CACHE STRING "Folder of the game's program, relative to the prefix")
set(PEL_INSTALL_DATADIR "share/games/brikatan" CACHE STRING "Folder that holds data/, relative to the prefix")
foreach(folder PEL_INSTALL_GAMESDIR PEL_INSTALL_PROGRAMDIR PEL_INSTALL_DATADIR)
    if(IS_ABSOLUTE "${${folder}}")
        message(FATAL_ERROR "${folder} must be relative to the install prefix, not ${${folder}}")
    endif()
endforeach()

# The launcher: the paths from its folder to the program and to data/ are written into it.
file(RELATIVE_PATH PEL_LAUNCHER_TO_PROGRAM /${PEL_INSTALL_GAMESDIR} /${PEL_INSTALL_PROGRAMDIR}/brikatan)
file(RELATIVE_PATH PEL_LAUNCHER_TO_DATA /${PEL_INSTALL_GAMESDIR} /${PEL_INSTALL_DATADIR}/data)
configure_file(packaging/brikatan.in ${CMAKE_BINARY_DIR}/packaging/brikatan @ONLY)

install(TARGETS brikatan RUNTIME DESTINATION ${PEL_INSTALL_PROGRAMDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/brikatan DESTINATION ${PEL_INSTALL_GAMESDIR})
# Expanded bitmaps from a run in the source tree are the program's output, and hidden files (data/.keep) are
# the repository's; neither is part of the install.
install(DIRECTORY data DESTINATION ${PEL_INSTALL_DATADIR} PATTERN "*.bmp" EXCLUDE REGEX "/\\.[^/]*$" EXCLUDE)

foreach(size 32 48 64 128)
    install(FILES packaging/icons/brikatan-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME brikatan.png)
endforeach()

# The menu entry starts the launcher by its full path, which is known only when installing: the prefix of a
# .deb is not the one the build was configured with, and a home install's games/ is seldom on the path.
install(CODE "
    set(PEL_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${PEL_INSTALL_GAMESDIR}/brikatan\")
    configure_file(\"${PROJECT_SOURCE_DIR}/packaging/brikatan.desktop.in\"
                   \"${CMAKE_BINARY_DIR}/packaging/desktop/brikatan.desktop\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\" TYPE FILE
         FILES \"${CMAKE_BINARY_DIR}/packaging/desktop/brikatan.desktop\")
")

# The manual pages and the changelog, compressed as Debian ships them (gzip -9n: no name, no time, so the same
# sources give the same files). The changelog's one entry is dated when the build is configured, or at
# SOURCE_DATE_EPOCH where that is set.
string(TIMESTAMP PEL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(PEL_COMPRESSED_DOCS)
foreach(doc ${PROJECT_SOURCE_DIR}/packaging/brikatan.6 ${PROJECT_SOURCE_DIR}/packaging/peltool.1
            ${CMAKE_BINARY_DIR}/packaging/changelog)
    get_filename_component(name ${doc} NAME)
    set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${compressed} COMMAND sh -c "gzip -9n <\"$1\" >\"$2\"" gzip ${doc} ${compressed}
                       DEPENDS ${doc} VERBATIM)
    list(APPEND PEL_COMPRESSED_DOCS ${compressed})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${PEL_COMPRESSED_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/packaging/brikatan.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/packaging/peltool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brikatan)
install(FILES packaging/brikatan.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME example.zentro.brikatan.metainfo.xml)
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME brikatan)

# The .deb: `cpack -G DEB` in the build folder. The package installs under /usr; CPack installs into its
# staging folder through DESTDIR, so the prefix the install sees is /usr and the menu entry names
# /usr/games/brikatan.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brikatan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZENTRO Team")
set(CPACK_PACKAGE_CONTACT "ZENTRO Team <team@zentro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "brick-breaking game on the PEL2D engine")
# The description's lines are wrapped as Debian's control files have them, under 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A paddle that follows the mouse, a ball and a wall of 216 coloured bricks\n"
    "that shrink away when hit, with sound effects and looped music. Built on\n"
    "PEL2D, a small OpenGL game engine. Also installs peltool, the engine's tool\n"
    "for its .spr images and WAV files.")
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZENTRO Team <team@zentro.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The runtime libraries (SDL2, GL, GLU, mpg123, the C++ library) come from what the programs link. SDL opens
# the GLX library itself when it makes the window's context, so that one is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
