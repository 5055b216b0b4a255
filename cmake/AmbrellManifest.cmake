# Every Windows .exe of the project carries the same manifest: comctl32 v6 controls,
# the UTF-8 ANSI code page (so the "A" functions carry UTF-8) and long-path awareness.
# Its processor architecture must be the build's, or the loader refuses the program.
# The .rc is compiled once into an object library that each executable links.
if(WIN32)
  enable_language(RC)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(AMBRELL_MANIFEST_ARCH amd64)
  else()
    set(AMBRELL_MANIFEST_ARCH x86)
  endif()
  get_filename_component(_ambrell_res_dir "${CMAKE_CURRENT_LIST_DIR}/../res" ABSOLUTE)
  set(_ambrell_manifest_dir "${CMAKE_BINARY_DIR}/res/manifest")
  configure_file("${_ambrell_res_dir}/ambrell.manifest.in" "${_ambrell_manifest_dir}/ambrell.manifest" @ONLY)
  add_library(ambrell_manifest OBJECT "${_ambrell_res_dir}/manifest.rc")
  # windres resolves the manifest's file name against its include path, not the .rc's folder.
  target_include_directories(ambrell_manifest PRIVATE "${_ambrell_manifest_dir}")
  # windres reports no dependencies: name the manifest so that editing it rebuilds.
  set_source_files_properties("${_ambrell_res_dir}/manifest.rc" PROPERTIES
    OBJECT_DEPENDS "${_ambrell_manifest_dir}/ambrell.manifest")
endif()

function(ambrell_windows_executable target)
  if(WIN32)
    target_link_libraries(${target} PRIVATE ambrell_manifest)
  endif()
endfunction()
