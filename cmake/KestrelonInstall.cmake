# What `cmake --install` puts in place and how `cpack -G DEB` packs it (scripts/package.sh):
# the viewer, the board server as kestrelon-boardsim, the desktop entry, the hicolor icons, the
# AppStream metainfo, the manual pages and the package's copyright and changelog. Everything the
# programs need at run time is built into them, but for the browser windows' module.
include(GNUInstallDirs)

set(KESTRELON_APP_ID "org.example.kestrelon" CACHE STRING "Desktop and AppStream id")
set(KESTRELON_HOMEPAGE "https://kestrelon.example.org/" CACHE STRING "Project home page (ends in /)")
set(KESTRELON_MAINTAINER "Kestrelon developers <kestrelon@example.org>")
set(KESTRELON_RELEASE_DATE "2026-12-08")

set(dist ${CMAKE_SOURCE_DIR}/dist)
set(out ${CMAKE_BINARY_DIR}/dist)

install(TARGETS kestrelon kestrelon-boardsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The browser windows' module, loaded on first use from the library folder relative to the
# program (viewers/gui/BrowserModule.cpp), so the installed tree can move as a whole. A folder
# below lib/kestrelon: a shared object directly in a subfolder of /usr/lib makes CPack add
# ldconfig calls, which a private module does not need (and lintian warns about).
set(KESTRELON_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/kestrelon/modules)
install(TARGETS kestrelon-viewers LIBRARY DESTINATION ${KESTRELON_MODULE_DIR})
file(RELATIVE_PATH viewers_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KESTRELON_MODULE_DIR})
target_compile_definitions(kviewers_gui PRIVATE KESTRELON_VIEWERS_FROM_BIN="${viewers_from_bin}")

configure_file(${dist}/kestrelon.desktop.in ${out}/${KESTRELON_APP_ID}.desktop COPYONLY)
configure_file(${dist}/kestrelon.metainfo.xml.in ${out}/${KESTRELON_APP_ID}.metainfo.xml @ONLY)
install(FILES ${out}/${KESTRELON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${out}/${KESTRELON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${dist}/icons/kestrelon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256 512)
  install(FILES ${dist}/icons/kestrelon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kestrelon.png)
endforeach()

# Manual pages and the changelog, compressed as Debian wants them (gzip -9, no name or time).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed)
foreach(page kestrelon.1 kestrelon-boardsim.1 changelog)
  configure_file(${dist}/${page} ${out}/${page} @ONLY)
  add_custom_command(OUTPUT ${out}/${page}.gz
                     COMMAND ${GZIP_PROGRAM} -9nf -k ${out}/${page}
                     DEPENDS ${out}/${page} VERBATIM)
  list(APPEND compressed ${out}/${page}.gz)
endforeach()
add_custom_target(kestrelon_dist ALL DEPENDS ${compressed})
install(FILES ${out}/kestrelon.1.gz ${out}/kestrelon-boardsim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
configure_file(${dist}/copyright ${out}/copyright @ONLY)
install(FILES ${out}/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrelon)

# The Debian package. Its dependencies are those of the shared libraries the programs link
# (dpkg-shlibdeps; the browser engine's library brings its helper process). Fonts with Japanese
# glyphs and the video decoders are recommended.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer that scrolls live board comments across the screen")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTRELON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTRELON_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, gstreamer1.0-plugins-good, gstreamer1.0-libav")
set(CPACK_PACKAGE_DESCRIPTION "Kestrelon shows the live-commentary threads of a 2ch-style bulletin board:
it fetches a thread every twelve seconds and sends the new responses
scrolling across a see-through strip of the screen, over whatever is
being watched. It also replays saved thread logs in step with a local
video, and offers board and thread lists, favourite boards, an image
viewer and a thread view page.
.
The package also holds kestrelon-boardsim, a local board server for
trying the viewer without a network.")
include(CPack)

# The installed program tells itself from a build by its desktop entry (platform/ProgramFolder).
file(RELATIVE_PATH entry_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/applications/${KESTRELON_APP_ID}.desktop)
target_compile_definitions(kplatform PRIVATE KESTRELON_INSTALLED_MARKER="${entry_from_bin}")
