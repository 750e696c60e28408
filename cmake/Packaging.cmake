# Installation on Linux and the Debian package: `cmake --install` puts the executables in bin/
# and their read-only files in share/zembrelpobs/, where an installed program looks for them;
# `cpack -G DEB` in the build tree packs the same tree. Windows ships as a zip instead.
if(WIN32)
  return()
endif()

include(GNUInstallDirs)
set(ZEMBREL_PACKAGE zembrelpobs) # the folder name the POSIX back end looks for under share/
set(ZEMBREL_APP_ID org.plovard.ZembrelPOBS)
set(ZEMBREL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/${ZEMBREL_PACKAGE})
set(res ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS zembrelpobs-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${res}/AComplete.wav ${res}/Error.wav ${res}/POBS.wav ${res}/XERCreated.wav
  ${res}/start.wav ${res}/ZembrelPOBS.chm ${res}/ZembrelPOBS.avi
  DESTINATION ${ZEMBREL_SHARE_DIR})
install(DIRECTORY ${res}/help/ DESTINATION ${ZEMBREL_SHARE_DIR}/help)

if(ZEMBREL_GUI)
  install(TARGETS ZembrelPOBS RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The video is looked for beside the executable itself, not in the folder of the other
  # read-only files: a link there points at the one copy.
  file(RELATIVE_PATH video_link ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_DATADIR}/${ZEMBREL_PACKAGE}/ZembrelPOBS.avi)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
  file(CREATE_LINK ${video_link} ${CMAKE_BINARY_DIR}/install-links/ZembrelPOBS.avi SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install-links/ZembrelPOBS.avi
    DESTINATION ${CMAKE_INSTALL_BINDIR})

  install(FILES ${res}/linux/${ZEMBREL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${res}/linux/${ZEMBREL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${res}/linux/${ZEMBREL_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${res}/icon/ZembrelPOBS.svg DESTINATION
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ZEMBREL_APP_ID}.svg)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${res}/icon/ZembrelPOBS-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME ${ZEMBREL_APP_ID}.png)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME ${ZEMBREL_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Plovard)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Removes unused POBS records from XER schedule exports")
set(CPACK_PACKAGE_DESCRIPTION
  "Zembrel POBS surveys an XER schedule export, counts its POBS and RISKTYPE records, repairs\n\
damaged bytes in place and writes a copy without the POBS records and the unused risk types.\n\
The package holds the window program, the command-line companion zembrelpobs-cli, the voice\n\
prompts, the help and the tutorial video.")
set(ZEMBREL_PACKAGE_MAINTAINER "Zembrel POBS maintainers <zembrelpobs@localhost>"
  CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_CONTACT ${ZEMBREL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZEMBREL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zembrelpobs_4.42.731_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # Depends from the libraries the executables link
# What makes Video and System Info work out of the box; Help needs nothing else.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mpv, hardinfo")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
include(CPack)
