# Installing and packaging. `cmake --install` puts the programs, the desktop
# entry and the icons in their standard places on Linux; CPack makes a .deb
# there and a .zip of the two statically linked programs for Windows.
include(GNUInstallDirs)
set(korvale_programs korvale korvale-cli)
set(korvale_descriptions "Korvale anime ranking" "Korvale anime ranking, command line")
set(korvale_icons ${PROJECT_SOURCE_DIR}/packaging/icons)

if(WIN32)
  # Each program carries the icon and its version.
  set(KORVALE_ICON_FILE ${korvale_icons}/korvale.ico)
  foreach(KORVALE_PROGRAM KORVALE_DESCRIPTION IN ZIP_LISTS korvale_programs korvale_descriptions)
    set(rc ${CMAKE_BINARY_DIR}/packaging/${KORVALE_PROGRAM}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/resources.rc.in ${rc} @ONLY)
    target_sources(${KORVALE_PROGRAM} PRIVATE ${rc})
  endforeach()
  install(TARGETS ${korvale_programs} RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
else()
  install(TARGETS ${korvale_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/korvale.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${korvale_icons}/korvale.svg DESTINATION ${hicolor}/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${korvale_icons}/korvale-${size}.png DESTINATION ${hicolor}/${size}x${size}/apps
            RENAME korvale.png)
  endforeach()
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME korvale)
set(CPACK_PACKAGE_VENDOR Korvale)
set(CPACK_PACKAGE_CONTACT "Korvale developers <korvale@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ranking of newly airing anime series, in a window or a terminal")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvale downloads a video site's ranking of newly airing anime series and shows it in a table; a double-click opens an entry's page in the browser. korvale-cli prints the same ranking as a table, TSV, CSV or JSON.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION video)
  # The libraries come from dpkg-shlibdeps; what the binaries load at run time
  # without linking it is named here: libcurl, bound by name at the first
  # download (7.85 for CURLOPT_PROTOCOLS_STR), Qt's platform plugins, the CA
  # certificates for HTTPS and a font with the Chinese characters.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libcurl4 (>= 7.85.0), qt6-qpa-plugins, ca-certificates, fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
include(CPack)
