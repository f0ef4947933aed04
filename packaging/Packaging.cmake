# SPDX-License-Identifier: MIT
# Installation, the deploy step of Windows and macOS builds, and the Debian
# packages (cpack -G DEB): "kestrix" with the program, and
# "kestrix-meter-sim", the meter simulator, a test tool of its own.
include(GNUInstallDirs)

set(KESTRIX_PACKAGE_GENERATED ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS kestrix
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program
  BUNDLE DESTINATION . COMPONENT program)
install(TARGETS kestrix-download RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
if(KESTRIX_BUILD_SIMULATOR)
  install(TARGETS kestrix-meter-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT simulator)
endif()

if(WIN32 OR APPLE)
  # Qt's libraries and plugins beside the program (windeployqt, macdeployqt),
  # so that `cmake --install` gives a folder that runs on its own. Qt 6.4 has
  # the command as a technical preview; releases before 6.3 lack it.
  if(COMMAND qt_generate_deploy_app_script)
    qt_generate_deploy_app_script(TARGET kestrix FILENAME_VARIABLE kestrix_deploy_script)
    install(SCRIPT ${kestrix_deploy_script} COMPONENT program)
  else()
    message(WARNING "This Qt has no qt_generate_deploy_app_script: run windeployqt or macdeployqt by hand")
  endif()
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT program)
  return()
endif()

# The desktop's files, all named by the application id.
configure_file(${CMAKE_SOURCE_DIR}/packaging/${KESTRIX_APP_ID}.metainfo.xml.in
               ${KESTRIX_PACKAGE_GENERATED}/${KESTRIX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KESTRIX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${KESTRIX_PACKAGE_GENERATED}/${KESTRIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KESTRIX_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)

# Man pages and each package's changelog, compressed as Debian wants them
# (gzip -9n: no name or time stamp, so the result does not change between builds).
find_program(KESTRIX_GZIP gzip REQUIRED)
function(kestrix_gzip_configured source output)
  configure_file(${source} ${KESTRIX_PACKAGE_GENERATED}/${output} @ONLY)
  add_custom_command(OUTPUT ${KESTRIX_PACKAGE_GENERATED}/${output}.gz
    COMMAND ${KESTRIX_GZIP} -9nkf ${KESTRIX_PACKAGE_GENERATED}/${output}
    DEPENDS ${KESTRIX_PACKAGE_GENERATED}/${output} VERBATIM)
  set(KESTRIX_GZIPPED ${KESTRIX_GZIPPED} ${KESTRIX_PACKAGE_GENERATED}/${output}.gz PARENT_SCOPE)
endfunction()
kestrix_gzip_configured(${CMAKE_SOURCE_DIR}/packaging/man/kestrix.1.in kestrix.1)
kestrix_gzip_configured(${CMAKE_SOURCE_DIR}/packaging/man/kestrix-download.1.in kestrix-download.1)
kestrix_gzip_configured(${CMAKE_SOURCE_DIR}/packaging/man/kestrix-meter-sim.1.in kestrix-meter-sim.1)
kestrix_gzip_configured(${CMAKE_SOURCE_DIR}/packaging/changelog.in changelog)
add_custom_target(kestrix_compressed_docs ALL DEPENDS ${KESTRIX_GZIPPED})

install(FILES ${KESTRIX_PACKAGE_GENERATED}/kestrix.1.gz ${KESTRIX_PACKAGE_GENERATED}/kestrix-download.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KESTRIX_PACKAGE_GENERATED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrix COMPONENT program)
if(KESTRIX_BUILD_SIMULATOR)
  install(FILES ${KESTRIX_PACKAGE_GENERATED}/kestrix-meter-sim.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT simulator)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KESTRIX_PACKAGE_GENERATED}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrix-meter-sim COMPONENT simulator)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kestrix developers <help@kestrix.invalid>")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Qt's libraries, as dpkg-shlibdeps finds them behind the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Each package's description starts with its own synopsis line (CPack puts
# a summary of its own before it only while CPACK_PACKAGE_DESCRIPTION_SUMMARY
# is left at its default).
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME kestrix)
# Qt's own translations: the file dialog and the message boxes' buttons in the user's language.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION
  "downloads stored measurements from portable resistance meters
Kestrix reads the stored measurements of winding, contact, ratio and cable
resistance meters over a serial line, lists them with a tick box each and
exports the ticked files to an HTML table. A winding meter's heat-run-test
files are saved as CSV files. It only reads from the meter.")
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME kestrix-meter-sim)
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_SIMULATOR_DESCRIPTION
  "meter simulator for testing Kestrix without hardware
kestrix-meter-sim plays a winding, contact, ratio or cable resistance meter
on a pseudo-terminal and publishes it as a COM number that Kestrix finds.
Faults can be injected to test the program. It is a test tool: a real meter
does not need it.")
set(CPACK_COMPONENTS_ALL program)
if(KESTRIX_BUILD_SIMULATOR)
  list(APPEND CPACK_COMPONENTS_ALL simulator)
endif()
include(CPack)
