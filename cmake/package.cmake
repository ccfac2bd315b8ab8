# The Debian package: `make deb` (or `cmake --build build --target deb`) writes
# build/korrindal_<version>_<arch>.deb with CPack. The package installs the game as Debian
# lays out games: the program in /usr/games, its data in /usr/share/games/korrindal (where
# the program looks for it from its own folder), the desktop entry, the icons, the AppStream
# metadata, a manual page made from --help, the copyright file and a changelog.
#
# Its files form the install component "deb", left out of a plain `cmake --install`, which
# keeps the bin/ + share/korrindal/ layout for any prefix.

# The version the program prints (src/version.cpp) is the package's.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/version.cpp KORRINDAL_VERSION_LINE REGEX "kVersion = \"[^\"]+\"")
string(REGEX REPLACE ".*kVersion = \"([^\"]+)\".*" "\\1" KORRINDAL_VERSION "${KORRINDAL_VERSION_LINE}")

set(KORRINDAL_DEB_STAGE ${CMAKE_BINARY_DIR}/deb-files)

# The manual page, from --help and --version (help2man), compressed as Debian wants it.
find_program(HELP2MAN_PROGRAM help2man)
find_program(GZIP_PROGRAM gzip)
if(HELP2MAN_PROGRAM AND GZIP_PROGRAM)
  add_custom_command(
    OUTPUT ${KORRINDAL_DEB_STAGE}/korrindal.6.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORRINDAL_DEB_STAGE}
    COMMAND ${HELP2MAN_PROGRAM} --no-info --section=6 --source=Korrindal
            --name=vertically\ scrolling\ shoot-\'em-up
            --include=${CMAKE_SOURCE_DIR}/packaging/korrindal.h2m
            --output=${KORRINDAL_DEB_STAGE}/korrindal.6 $<TARGET_FILE:korrindal>
    COMMAND ${GZIP_PROGRAM} -9nf ${KORRINDAL_DEB_STAGE}/korrindal.6
    DEPENDS korrindal ${CMAKE_SOURCE_DIR}/packaging/korrindal.h2m
    COMMENT "Writing the manual page korrindal.6 from --help"
    VERBATIM)
  set(KORRINDAL_MANPAGE ${KORRINDAL_DEB_STAGE}/korrindal.6.gz)
else()
  message(STATUS "help2man or gzip not found: `make deb` needs them (scripts/install-deps.sh installs help2man)")
endif()
# The changelog, compressed (a native package's changelog.gz).
add_custom_command(
  OUTPUT ${KORRINDAL_DEB_STAGE}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORRINDAL_DEB_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/changelog ${KORRINDAL_DEB_STAGE}/changelog
  COMMAND ${GZIP_PROGRAM} -9nf ${KORRINDAL_DEB_STAGE}/changelog
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(korrindal_deb_files ALL DEPENDS ${KORRINDAL_MANPAGE} ${KORRINDAL_DEB_STAGE}/changelog.gz)

set(KORRINDAL_DEB_OPTS COMPONENT deb EXCLUDE_FROM_ALL)
install(TARGETS korrindal RUNTIME DESTINATION games ${KORRINDAL_DEB_OPTS})
install(DIRECTORY ${KORRINDAL_BIN_DIR}/ DESTINATION share/games/korrindal ${KORRINDAL_DEB_OPTS}
        FILES_MATCHING PATTERN "*.sp4" PATTERN "*.bmp" PATTERN "*.map" PATTERN "*.wav" PATTERN "*.mid"
                       PATTERN "*.htm")
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/org.korrindal.Korrindal.desktop
        DESTINATION share/applications ${KORRINDAL_DEB_OPTS})
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/org.korrindal.Korrindal.metainfo.xml
        DESTINATION share/metainfo ${KORRINDAL_DEB_OPTS})
foreach(n ${KORRINDAL_ICON_SIZES})
  install(FILES ${KORRINDAL_ICON_DIR}/korrindal_${n}.png DESTINATION share/icons/hicolor/${n}x${n}/apps
          RENAME korrindal.png ${KORRINDAL_DEB_OPTS})
endforeach()
if(KORRINDAL_MANPAGE)
  install(FILES ${KORRINDAL_MANPAGE} DESTINATION share/man/man6 ${KORRINDAL_DEB_OPTS})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KORRINDAL_DEB_STAGE}/changelog.gz
        DESTINATION share/doc/korrindal ${KORRINDAL_DEB_OPTS})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korrindal)
set(CPACK_PACKAGE_VERSION ${KORRINDAL_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korrindal developers")
set(CPACK_PACKAGE_CONTACT "The Korrindal developers <korrindal@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertically scrolling shoot-'em-up")
set(CPACK_PACKAGE_DESCRIPTION "\
Fly your ship up through three stages, shooting down wave after wave of
enemies, with five weapons and bombs that clear the screen of enemy
bullets. A boss closes stages 1 and 2 and the final boss waits at the end
of stage 3; one clock of 300 seconds covers the whole game.
.
Every game is recorded, and replays play back exactly. Keyboard (keys of
your choice), joysticks and game controllers; the startup dialog speaks
Japanese or English.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL deb)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The runtime libraries from the program's own links (dpkg-shlibdeps), a General MIDI
# soundfont for the music (the chosen one first; any other works) and fonts for the dialog.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fluid-soundfont-gm | musescore-general-soundfont-small | timgm6mb-soundfont | sf2-soundfont-gm | sf3-soundfont-gm, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-vlgothic | fonts-noto-cjk | fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

add_custom_target(deb
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake -G DEB
  DEPENDS korrindal korrindal_data korrindal_icons korrindal_deb_files
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Building the Debian package"
  VERBATIM)
