# `make package` (or `cpack` in the build folder): a Debian package of what
# `cmake --install` puts in place, under /usr: the program, its songs, the
# menu entry, the icons and the software-centre description. The shared
# libraries it needs become its dependencies (dpkg-shlibdeps), and the songs
# are played with the TimGM6mb General MIDI sound font. capzel-server comes
# with a systemd unit (not enabled: `systemctl enable --now capzel-server`).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME capzel)
set(CPACK_PACKAGE_VENDOR "The Capzel developers")
set(CPACK_PACKAGE_CONTACT "Norvin Telk <norvin.telk@capzel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hot-seat flick game for one to eight players")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Each player flicks a round piece across a field of numbered boxes: it slides\n"
  "with friction, bounces off the edges and the red walls, and pushes the other\n"
  "pieces. Land in boxes 1 to 13, back down to 1, then A to D; whoever finishes\n"
  "becomes a killer whose piece knocks the others out. The last one alive wins.\n"
  "capzel-server holds rooms of the game played across computers.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://capzel.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

# The unit names the program where the package puts it.
set(CAPZEL_SERVER_PROGRAM ${CPACK_PACKAGING_INSTALL_PREFIX}/bin/capzel-server)
configure_file(${CMAKE_SOURCE_DIR}/packaging/capzel-server.service.in
               ${CMAKE_BINARY_DIR}/generated/capzel-server.service @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/capzel-server.service DESTINATION lib/systemd/system)
include(CPack)
