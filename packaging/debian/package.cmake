# `make package`: a Debian package of what `make install` installs, under /usr. The files only a
# package carries (the copyright file, the changelog, compressed manual pages) are added by
# finish-package.cmake in CPack's staging folder, so `make install` stays as it is.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pagewick)
set(CPACK_PACKAGE_VENDOR "The Pagewick maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HTML index, feeds and sitemap from a folder of web pages")
# CPack puts the summary above this, as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Pagewick is for people who keep a web site as a folder of page files. It
lists the pages of a folder, reads each page's title and builds an HTML
index of links labelled with the titles, to preview, copy or save as a
complete page. It also builds RSS 2.0 and Atom feeds and a sitemap of the
same pages, and checks a site for pages without titles, duplicate titles
and contradicted encodings before it is published.
.
This package holds the window (pagewick) and the same engine on the
command line (pagewick-cli), for scripts, Makefiles and cron jobs.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pagewick maintainers <maintainers@pagewick.io>")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pagewick.io/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies come from the binaries themselves (dpkg-shlibdeps). Qt's own catalogues
# translate the standard dialogs' buttons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/finish-package.cmake)
set(CPACK_PAGEWICK_DEB_DOCS ${CMAKE_CURRENT_LIST_DIR})
include(CPack)
