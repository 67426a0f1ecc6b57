# Read by cpack before it packs. A Debian package installs under /usr; the
# game looks for its data under the prefix it was configured with, so a
# build configured for another prefix (/usr/local by default) would pack a
# game that cannot find its data. `make package` configures for /usr.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "The Debian package is made from a build configured with "
    "-DCMAKE_INSTALL_PREFIX=/usr (this one: ${CPACK_PACKAGING_INSTALL_PREFIX}); `make package` does it.")
endif()
