# The Debian package: `cpack -G DEB` in a build folder writes korvane_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_CONTACT "Korvane maintainers <korvane@korvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Repairs the ODBC data source of an Access database")
set(CPACK_PACKAGE_DESCRIPTION "Korvane removes and re-adds the current user's ODBC data source Pelwick2006 for an Access database through unixODBC's installer and MDB Tools' driver, then checks that the data source opens.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# What the program reaches at run time besides the libraries it links: the driver
# manager's tools, the Access driver, the Song font of its captions and xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "unixodbc, odbc-mdbtools, libsdl2-2.0-0, fonts-arphic-uming, xdg-utils")

# The maintainer scripts name the set-up library where the package puts it.
set(KORVANE_DRIVER "Microsoft Access Driver (*.mdb)")
set(KORVANE_PACKAGED_SETUP "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/korvane/libkorvane-access-setup.so")
foreach(script postinst postrm)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${script}.in ${CMAKE_BINARY_DIR}/debian/${script} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/postinst ${CMAKE_BINARY_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
