# SPDX-License-Identifier: MIT
# The program directory goes to PREFIX/lib/vellamore; PREFIX/bin/vlmor links to it.
include(GNUInstallDirs)
set(VLMOR_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/vellamore)

install(TARGETS vlmor vlmor-catalog vlmor-image RUNTIME DESTINATION ${VLMOR_INSTALL_DIR})
install(TARGETS vlmor_globalmem crde2000 isp2000 LIBRARY DESTINATION ${VLMOR_INSTALL_DIR})
# Data files generated into bin/ (catalogue, help, engines) are installed when present.
install(DIRECTORY ${VLMOR_BIN_DIR}/ DESTINATION ${VLMOR_INSTALL_DIR}
        FILES_MATCHING PATTERN "*.db" PATTERN "*.hlp" PATTERN "*.ini")

install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"../${VLMOR_INSTALL_DIR}/vlmor\"
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vlmor\" SYMBOLIC)
")
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/vellamore.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 32 64 128 256)
  install(FILES ${VLMOR_ART_DIR}/vellamore-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vellamore.png)
endforeach()
