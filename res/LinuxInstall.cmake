# Where the Linux program's companions go on `cmake --install`: the README that
# the About box links to, the desktop entry, and the icons it names. The doc
# folder is spelt out because the About box's address names it; GNUInstallDirs
# would take the project name, capital and all.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ambrell)
install(FILES ${PROJECT_SOURCE_DIR}/res/ambrell.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(_icon_size 16 32 64)
  install(FILES ${AMBRELL_PICTURE_DIR}/ambrell-${_icon_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_icon_size}x${_icon_size}/apps
          RENAME ambrell.png)
endforeach()
