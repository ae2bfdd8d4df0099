# Install rules: both programs into <prefix>/bin, the desktop entry and the 48 x 48 icon into
# the share folders of <prefix>. Every destination is relative, so nothing lands outside the
# prefix.
include(GNUInstallDirs)

foreach(program pb-sourcetrek pb-sourcetrek-report)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/pb-sourcetrek.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/pb-sourcetrek.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/48x48/apps)

if(PBST_TESTS)
  # Installs the build tree into a fresh temporary prefix and compares the installed files.
  add_test(NAME Install.PutsExactlyTheProgramsDesktopEntryAndIconIntoThePrefix
    COMMAND ${CMAKE_COMMAND}
            -DBUILD_DIR=${PROJECT_BINARY_DIR}
            -DPREFIX=${PROJECT_BINARY_DIR}/install-test-prefix
            "-DEXPECTED=bin/pb-sourcetrek;bin/pb-sourcetrek-report;share/applications/pb-sourcetrek.desktop;share/icons/hicolor/48x48/apps/pb-sourcetrek.png"
            -P ${PROJECT_SOURCE_DIR}/cmake/install_check.cmake)
endif()
