# Install rules, and the Debian package and source tarball that CPack makes
# of them.

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/source_date_epoch.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/debian_changelog.cmake)

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "the scatter authors")
set(CPACK_PACKAGE_CONTACT "scatter authors <scatter-authors@c-seed-b67ec716.example>")

# The manual page names the version of project() and the day of the sources.
set(ENV{SOURCE_DATE_EPOCH} "${SCATTER_SOURCE_DATE_EPOCH}")
string(TIMESTAMP SCATTER_RELEASE_DATE "%Y-%m-%d" UTC)
set(SCATTER_MANUAL_PAGE ${PROJECT_BINARY_DIR}/scatter.1)
configure_file(docs/scatter.1.in ${SCATTER_MANUAL_PAGE} @ONLY)

# The copyright file in Debian's machine-readable format, with the licence
# text of LICENSE as a field: lines indented by one space, a blank line as
# " .".
file(READ LICENSE license)
string(FIND "${license}" "Permission is hereby granted" start)
if(start LESS 0)
    message(FATAL_ERROR "LICENSE does not hold the MIT permission notice")
endif()
string(SUBSTRING "${license}" ${start} -1 license)
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " SCATTER_LICENSE_TEXT " ${license}")
configure_file(cmake/debian_copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)

# Debian reads the changelog of a package of its own making in its own
# format: CHANGELOG.md rewritten.
scatter_debian_changelog(CHANGELOG.md ${PROJECT_BINARY_DIR}/changelog "${CPACK_PACKAGE_CONTACT}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS CHANGELOG.md LICENSE)

# Directories made by the install get these modes, not the installer's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS scatter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SCATTER_MANUAL_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

# cpack -G DEB in the release build makes a Debian package of the above.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "write pseudo-random points of the plane")
set(CPACK_PACKAGE_DESCRIPTION "\
scatter writes a given number of pseudo-random points of the box
[-10, 10]^2, one x y line each, as input for planar-geometry programs such
as convex-hull codes. Its output is the same on every run and platform, and
exactly what printf's %f writes.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# cpack --config CPackSourceConfig.cmake -G TGZ makes scatter-VERSION.tar.gz
# of the sources, without build trees or git's files. The patterns are
# regular expressions on absolute paths, escaped twice: CPack writes them
# into CPackSourceConfig.cmake as they are, and reads them back.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION})
string(REGEX REPLACE "([][+.*()^$?|\\{}])" "\\\\\\\\\\1" source_dir_regex "${PROJECT_SOURCE_DIR}")
string(REGEX REPLACE "([][+.*()^$?|\\{}])" "\\\\\\\\\\1" binary_dir_regex "${PROJECT_BINARY_DIR}")
set(CPACK_SOURCE_IGNORE_FILES
    "^${source_dir_regex}/build/"
    "^${binary_dir_regex}/"
    "/\\\\.git/" "/\\\\.git$" "/\\\\.gitignore$" "/\\\\.gitattributes$"
    "~$" "\\\\.swp$" "/\\\\.#" "/#")

# cpack reads this before every package: each gets the file times of the
# sources, whoever makes it and when.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE}
    CONTENT "set(ENV{SOURCE_DATE_EPOCH} @SCATTER_SOURCE_DATE_EPOCH@)\n" @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack_pre_build.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack_post_build.cmake)
include(CPack)
