# Install rules: the programs into <prefix>/bin; the desktop entry, icon, AppStream
# metainfo, manual pages, bash completion and README into the share folders of <prefix>.
# Every destination is relative, so nothing lands outside the prefix. `cpack -G DEB` packs
# the same files for /usr into a Debian package.
foreach(program pb-sourcetrek pb-sourcetrek-report pb-sourcetrek-lsp)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/pb-sourcetrek.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/pb-sourcetrek.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/48x48/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/io.github.pb_sourcetrek.pb_sourcetrek.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${PBST_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/pb-sourcetrek-report.bash
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME pb-sourcetrek-report)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${PBST_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pb-sourcetrek)
set(CPACK_PACKAGE_VENDOR "The PB Sourcetrek developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Lists the procedures, calls and terms of a PureBasic project")
set(CPACK_PACKAGE_DESCRIPTION
    "PB Sourcetrek takes up a PureBasic project (the main file and every file it includes)\n\
and lists its procedure heads, the calls of one procedure, all procedures with their calls\n\
and colour marks, and the whole-word uses of a term; from any row it starts the PureBasic\n\
IDE on that file and line. pb-sourcetrek-report prints every listing as text or JSON;\n\
pb-sourcetrek-lsp serves them to editors as a Language Server Protocol server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The PB Sourcetrek developers")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The library packages the programs need are worked out from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# Every file that an install puts into the prefix, relative to it.
set(PBST_INSTALLED_FILES
    bin/pb-sourcetrek
    bin/pb-sourcetrek-lsp
    bin/pb-sourcetrek-report
    share/applications/pb-sourcetrek.desktop
    share/bash-completion/completions/pb-sourcetrek-report
    share/doc/pb-sourcetrek/README.md
    share/icons/hicolor/48x48/apps/pb-sourcetrek.png
    share/man/man1/pb-sourcetrek-lsp.1.gz
    share/man/man1/pb-sourcetrek-report.1.gz
    share/man/man1/pb-sourcetrek.1.gz
    share/metainfo/io.github.pb_sourcetrek.pb_sourcetrek.metainfo.xml)

if(PBST_TESTS)
  # Installs the build tree into a fresh temporary prefix and compares the installed files.
  add_test(NAME Install.PutsExactlyTheProgramsAndTheirDesktopAndShellFilesIntoThePrefix
    COMMAND ${CMAKE_COMMAND}
            -DBUILD_DIR=${PROJECT_BINARY_DIR}
            -DPREFIX=${PROJECT_BINARY_DIR}/install-test-prefix
            "-DEXPECTED=${PBST_INSTALLED_FILES}"
            -P ${PROJECT_SOURCE_DIR}/cmake/install_check.cmake)
  # Packs the test build's own binaries: a second, sanitizer-free build only for this
  # check would double the build time of the test run.
  add_test(NAME Install.DebianPackageHoldsTheInstalledFilesUnderUsr
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/package_check.sh ${CMAKE_CPACK_COMMAND}
            ${PROJECT_BINARY_DIR}
            ${PBST_INSTALLED_FILES})
  # Both tests install the build tree; one at a time keeps their install manifests apart.
  set_tests_properties(Install.PutsExactlyTheProgramsAndTheirDesktopAndShellFilesIntoThePrefix
                       Install.DebianPackageHoldsTheInstalledFilesUnderUsr
                       PROPERTIES RESOURCE_LOCK build-tree-install)
endif()
