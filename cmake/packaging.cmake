# The packages, made by CPack from the install rules: a .deb of the Linux
# program (with BR_DEBIAN_PACKAGE, which adds the files that Debian wants
# in /usr/share/doc) and a .zip of the cross-built Windows program.
set(CPACK_PACKAGE_NAME brown-robinson)
set(CPACK_PACKAGE_VENDOR "the brown-robinson developers")
# A package must name its maintainer with an address. The project has none
# of its own, so the address is one under the reserved top-level domain
# .invalid, which can never reach anyone.
set(CPACK_PACKAGE_CONTACT "the brown-robinson developers <brown-robinson@packages.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "solve a two-person zero-sum matrix game by fictitious play")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
else()
  option(BR_DEBIAN_PACKAGE "Install the copyright and changelog files of the Debian package" OFF)
  if(BR_DEBIAN_PACKAGE)
    set(br_debian_doc share/doc/${CPACK_PACKAGE_NAME})
    install(FILES packaging/debian/copyright DESTINATION ${br_debian_doc})
    add_custom_command(OUTPUT changelog.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/changelog changelog
      COMMAND ${BR_GZIP} -9nf changelog
      DEPENDS packaging/debian/changelog
      VERBATIM)
    add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${br_debian_doc})
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)  # as dpkg-deb compresses by default
  # CPack puts the summary above this as the first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
A console program that solves a two-person zero-sum matrix game
approximately, by alternating fictitious play (the Brown-Robinson method).
It asks for the players' names, their numbers of strategies (at most 10
each), the payoff matrix and the number of iterations (at most 99), and
shows the mean price of the game, each player's mixed strategy and the
table of iterations.
.
It can also print the exact solution of the game beside the approximation
(--exact) and a table of iterations with every strategy (--wide), and it
reads its answers from a game file named on the command line before
standard input; without a terminal it takes every answer from there, so a
game can be scripted.")
endif()

include(CPack)
