# The release packages, made by cpack from a release build: on Linux a Debian
# package, ambrell_1.1.0_amd64.deb; in a Windows cross build a zip named after
# the build's bitness, ambrell-1.1.0-win32.zip or -win64.zip.
set(CPACK_PACKAGE_NAME ambrell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0)
set(CPACK_PACKAGE_VENDOR "The Ambrell developers")
set(CPACK_PACKAGE_CONTACT "The Ambrell developers <ambrell@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show how much disk space every folder occupies")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # The programs and the README side by side at the top of the zip: the
  # About box's link opens the README.txt beside the .exe.
  install(TARGETS ambrell ambrell-scan RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_bits 64)
  else()
    set(_bits 32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ambrell-${CPACK_PACKAGE_VERSION}-win${_bits})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  set(_doc ${CMAKE_INSTALL_DATADIR}/doc/ambrell)
  # Debian keeps manual pages and changelogs compressed, without time stamps.
  set(_compressed ${CMAKE_BINARY_DIR}/package)
  foreach(_file ambrell-scan.1 changelog)
    add_custom_command(
      OUTPUT ${_compressed}/${_file}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_compressed}
      COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/docs/package/${_file} > ${_compressed}/${_file}.gz
      DEPENDS ${PROJECT_SOURCE_DIR}/docs/package/${_file}
      VERBATIM)
  endforeach()
  add_custom_target(ambrell_package_docs ALL DEPENDS ${_compressed}/ambrell-scan.1.gz ${_compressed}/changelog.gz)
  install(FILES ${_compressed}/ambrell-scan.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${_compressed}/changelog.gz DESTINATION ${_doc})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${_doc} RENAME copyright)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # cpack puts the summary above it.
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
      "Ambrell scans the local disks, or the folders given, and shows the folder\n"
      "tree with the total size of every folder, in a dialog (ambrell) or as text\n"
      "(ambrell-scan). Scans can be saved and opened in ncdu's JSON export format.")
  set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()

include(CPack)
