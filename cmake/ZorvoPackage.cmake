# The Debian package of the program, built by CPack's DEB generator (scripts/package.sh):
# what `cmake --install` puts on a system, under /usr, plus the files Debian wants of every
# package: the copyright statement and the changelog in /usr/share/doc/zorvo.
# Included from the top-level CMakeLists.txt once the program's target exists.

set(ZORVO_PACKAGE_MAINTAINER "Zorvo 3 developers <zorvo3@users.noreply.github.com>"
    CACHE STRING "The package's Maintainer field: a name and an e-mail address")
set(ZORVO_PACKAGE_VERSION ${PROJECT_VERSION})
set(ZORVO_PACKAGE_FILES ${PROJECT_SOURCE_DIR}/resources/package)
set(ZORVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zorvo)

# Debian compresses changelogs with gzip -9n (no name, no time stamp: the same bytes every
# build).
configure_file(${ZORVO_PACKAGE_FILES}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/package/changelog
               @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/package/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_CURRENT_BINARY_DIR}/package/changelog
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/package/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(zorvo_package_docs DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/package/changelog.gz)
# Whatever builds the program builds what its installation needs.
add_dependencies(Zorvo_3 zorvo_package_docs)

install(FILES ${ZORVO_PACKAGE_FILES}/copyright DESTINATION ${ZORVO_DOC_DIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/changelog.gz DESTINATION ${ZORVO_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvo)
set(CPACK_PACKAGE_VENDOR "Zorvo 3 developers")
set(CPACK_PACKAGE_VERSION ${ZORVO_PACKAGE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "formula calculator with a graph window and an equation solver")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${ZORVO_PACKAGE_FILES}/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZORVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/zorvo/zorvo3)
# The libraries come from the program's own links; the windows are laid out for Liberation
# Sans, and Qt's buttons and dialogs speak Russian with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
