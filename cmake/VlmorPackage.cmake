# SPDX-License-Identifier: MIT
# The Debian package, made by CPack from the install rules (scripts/package): installed under
# /usr, its library dependencies (the SANE library among them) found by dpkg-shlibdeps,
# Ghostscript added for the renderer the engine starts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellamore)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Vellamore developers <developers@vellamore.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clip-art catalogue viewer")
# The synopsis is the summary; these lines follow it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vellamore shows a published collection of clip-art pictures
that ships with its data: category tabs, a search, a list and a
navigator of the records, and the current picture fitted, zoomed and
panned. An overview shows the pictures as thumbnails, with a find box
that forgives typing errors. Pictures can be saved in eight formats,
copied, dragged into other programs, exported and printed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vellamore.invalid/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The EPS renderer links the Ghostscript library, whose fonts and resources come with the
# ghostscript package (the SANE library is found as a linked one).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ghostscript")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
