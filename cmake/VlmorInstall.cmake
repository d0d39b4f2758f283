# SPDX-License-Identifier: MIT
# The installed program: the program directory in PREFIX/lib/vellamore (the program, its
# engines and renderer, the catalogue and the help file), the three programs linked into
# PREFIX/bin, the desktop entry, icons, AppStream data, manual pages and the package's
# documentation. The Debian package (cmake/VlmorPackage.cmake) is made from these.
include(GNUInstallDirs)
set(VLMOR_INSTALL_DIR lib/vellamore)

install(TARGETS vlmor vlmor-catalog vlmor-image vlmor-eps-render
        RUNTIME DESTINATION ${VLMOR_INSTALL_DIR})
install(TARGETS vlmor_globalmem crde2000 isp2000 LIBRARY DESTINATION ${VLMOR_INSTALL_DIR})
install(FILES ${VLMOR_BIN_DIR}/vlmor.db ${VLMOR_BIN_DIR}/category.db ${VLMOR_BIN_DIR}/Vlmor.hlp
        DESTINATION ${VLMOR_INSTALL_DIR} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The programs on the path are links into the program directory, which they find again
# through the link.
set(links_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${links_dir})
foreach(program vlmor vlmor-catalog vlmor-image)
  file(CREATE_LINK ../${VLMOR_INSTALL_DIR}/${program} ${links_dir}/${program} SYMBOLIC)
  install(FILES ${links_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

set(desktop_id org.vellamore.Vellamore)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${desktop_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${desktop_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 64 128 256)
  install(FILES ${VLMOR_ART_DIR}/vellamore-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vellamore.png)
endforeach()

# Manual pages and the changelog go in compressed, as Debian wants them.
set(gz_dir ${CMAKE_BINARY_DIR}/install-gz)
set(gz_files)
foreach(page vlmor vlmor-catalog vlmor-image)
  add_custom_command(OUTPUT ${gz_dir}/${page}.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gz_dir}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/man/${page}.1 > ${gz_dir}/${page}.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/man/${page}.1)
  list(APPEND gz_files ${gz_dir}/${page}.1.gz)
  install(FILES ${gz_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${gz_dir}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gz_dir}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/package/changelog > ${gz_dir}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/package/changelog)
list(APPEND gz_files ${gz_dir}/changelog.gz)
add_custom_target(vlmor_install_docs ALL DEPENDS ${gz_files})
add_dependencies(vlmor_program vlmor_install_docs)
install(FILES ${gz_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/resources/package/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellamore)
install(FILES ${PROJECT_SOURCE_DIR}/resources/package/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vellamore)

include(cmake/VlmorPackage.cmake)
