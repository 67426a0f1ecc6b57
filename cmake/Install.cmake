# Installing the game the way Debian lays out a game (`cmake --install`),
# and its Debian package (`make package`, CPack's DEB generator). Only the
# game, the replay tool and what a desktop shows of them are installed: no
# tests, benchmarks or data maker.
include(GNUInstallDirs)

set(TESSALINE_ID org.tessaline.Tessaline)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TESSALINE_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessaline)
# Everything installed is world-readable whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian's games live in games/ beside bin/, their data in share/games/.
install(TARGETS tessaline tessaline-replay RUNTIME DESTINATION games)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/games/tessaline)

install(FILES ${PACKAGING_DIR}/${TESSALINE_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PACKAGING_DIR}/${TESSALINE_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icons are the game's own drawing: the replay tool draws the two
# fighters face to face and scales the square round them to each size.
set(ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(ICON_FILES)
foreach(size 48 128 256)
  set(icon ${ICON_DIR}/${size}x${size}/apps/${TESSALINE_ID}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ICON_DIR}/${size}x${size}/apps
    COMMAND tessaline-replay --data ${CMAKE_BINARY_DIR}/data --icon ${size} ${icon}
    DEPENDS tessaline-replay ${CMAKE_BINARY_DIR}/data.stamp
    COMMENT "Drawing the ${size} x ${size} icon"
    VERBATIM)
  list(APPEND ICON_FILES ${icon})
endforeach()
add_custom_target(icons ALL DEPENDS ${ICON_FILES})
install(DIRECTORY ${ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages and the changelog go compressed, as Debian keeps them; -n
# leaves out the name and time, so the same source gives the same bytes.
set(GZIPPED)
foreach(source packaging/tessaline.6 packaging/tessaline-replay.6 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(gzipped ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(
    OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/${source} ${gzipped}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND GZIPPED ${gzipped})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/tessaline.6.gz ${CMAKE_BINARY_DIR}/packaging/tessaline-replay.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The copyright file in Debian's machine-readable form, with the licence's
# text taken from LICENSE, so the two cannot drift apart.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" license "${license}")
string(STRIP "${license}" license)
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " LICENSE_TEXT " ${license}")
configure_file(${PACKAGING_DIR}/copyright.in ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${TESSALINE_DOC_DIR})

# ------------------------------------------------------------- the package

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaline)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessaline developers")
set(CPACK_PACKAGE_CONTACT "The Tessaline developers <developers@tessaline.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player 3D fighting game with long blades")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PACKAGING_DIR}/description.txt)
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tessaline.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries from dpkg-shlibdeps, and a General MIDI soundfont for the
# music (the game looks for Debian's default-GM.sf2, then TimGM6mb.sf2).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
# The package installs where the game was built to look for its data.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/PackageChecks.cmake)
include(CPack)
