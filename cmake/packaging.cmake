# Install rules, and the Debian package and source tarball that CPack makes
# of them.

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/source_date_epoch.cmake)

# The manual page names the version of project() and the day of the sources.
set(ENV{SOURCE_DATE_EPOCH} "${SCATTER_SOURCE_DATE_EPOCH}")
string(TIMESTAMP SCATTER_RELEASE_DATE "%Y-%m-%d" UTC)
set(SCATTER_MANUAL_PAGE ${PROJECT_BINARY_DIR}/scatter.1)
configure_file(docs/scatter.1.in ${SCATTER_MANUAL_PAGE} @ONLY)

install(TARGETS scatter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SCATTER_MANUAL_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB in the release build makes a Debian package of the above.
set(CPACK_PACKAGE_NAME scatter)
set(CPACK_PACKAGE_VENDOR "scatter maintainers")
set(CPACK_PACKAGE_CONTACT "scatter maintainers <maintainers@users.noreply.c-seed-b67ec716.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "write pseudo-random points of the plane")
set(CPACK_PACKAGE_DESCRIPTION "scatter writes a given number of pseudo-random points of the box [-10, 10]^2, one x y line each, as input for planar-geometry programs such as convex-hull codes. Its output is the same on every run and platform, and exactly what printf's %f writes.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Debian keeps manual pages compressed.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/compress_manual_pages.cmake)
include(CPack)
