# The Debian package of `make package`: the install rules under /usr, with the libraries'
# packages found by dpkg-shlibdeps. Qt finds its platform plugin at run time, which no
# library dependency shows, so that package is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumetta)
set(CPACK_PACKAGE_VENDOR "Lumetta developers")
set(CPACK_PACKAGE_CONTACT "Lumetta developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and editor for DBF tables")
# The long description in lines of Debian's width.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Lumetta browses and edits DBF tables of the dBASE III, dBASE IV and FoxPro"
    "families, with Cyrillic text in code pages 866 and 1251, in a fast grid that"
    "stays smooth on tables of tens of millions of records: filters, search and"
    "replace, bookmarks, packing, header repair and code-page detection."
    "lumetta-cli brings the same engine to a terminal.")
# Staged through DESTDIR, so the install rules can tell a staging from a system; the prefix
# is then CPACK_INSTALL_PREFIX.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Help pages open in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
