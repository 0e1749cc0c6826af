# The manual pages, and the install rules: the programs, their manual pages
# and the licence. debian/ packages the same install for Debian.

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/source_date_epoch.cmake)

# The manual pages name the version of project() and the day of the sources.
set(ENV{SOURCE_DATE_EPOCH} "${SCATTER_SOURCE_DATE_EPOCH}")
string(TIMESTAMP SCATTER_RELEASE_DATE "%Y-%m-%d" UTC)
set(SCATTER_MANUAL_PAGE ${PROJECT_BINARY_DIR}/scatter.1)
configure_file(docs/scatter.1.in ${SCATTER_MANUAL_PAGE} @ONLY)
set(SCATTER_HULL_MANUAL_PAGE ${PROJECT_BINARY_DIR}/scatter-hull.1)
configure_file(docs/scatter-hull.1.in ${SCATTER_HULL_MANUAL_PAGE} @ONLY)

install(TARGETS scatter scatter-hull RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SCATTER_MANUAL_PAGE} ${SCATTER_HULL_MANUAL_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
