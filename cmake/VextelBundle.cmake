# Bundle folders laid out at build time:
#
#   vextel_add_bundle(NAME <Name.plugin> INFO_PLIST <file> RESOURCES_DIR <dir> OUTPUT_DIR <dir>
#                     [TARGET <module target>] [BUNDLE_TARGET <name>])
#
# makes <OUTPUT_DIR>/<NAME>/Contents/ with
#   Info.plist           copied from INFO_PLIST
#   <module file>        the built TARGET (a MODULE library), when one is given
#   Resources/...        everything under RESOURCES_DIR, keeping its folders; each Qt Linguist
#                        source <Table>.ts becomes <Table>.qm beside where it was (lrelease)
#
# The work happens in a custom target, BUNDLE_TARGET (default: <TARGET>_bundle, or NAME with
# non-identifier characters replaced by "_" followed by "_bundle"), built by default; depend on
# it from whatever needs the finished bundle. The resource list is globbed with
# CONFIGURE_DEPENDS, so added or removed files are picked up by the next build.
function(vextel_add_bundle)
  cmake_parse_arguments(ARG "" "TARGET;NAME;INFO_PLIST;RESOURCES_DIR;OUTPUT_DIR;BUNDLE_TARGET" "" ${ARGN})
  foreach(required NAME INFO_PLIST RESOURCES_DIR OUTPUT_DIR)
    if(NOT ARG_${required})
      message(FATAL_ERROR "vextel_add_bundle: ${required} is required")
    endif()
  endforeach()
  if(NOT TARGET Qt6::lrelease)
    find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
  endif()

  get_filename_component(info_plist "${ARG_INFO_PLIST}" ABSOLUTE)
  get_filename_component(resources_dir "${ARG_RESOURCES_DIR}" ABSOLUTE)
  set(contents_dir "${ARG_OUTPUT_DIR}/${ARG_NAME}/Contents")

  if(ARG_BUNDLE_TARGET)
    set(bundle_target ${ARG_BUNDLE_TARGET})
  elseif(ARG_TARGET)
    set(bundle_target ${ARG_TARGET}_bundle)
  else()
    string(MAKE_C_IDENTIFIER "${ARG_NAME}" bundle_target)
    set(bundle_target ${bundle_target}_bundle)
  endif()

  set(outputs "${contents_dir}/Info.plist")
  add_custom_command(
    OUTPUT "${contents_dir}/Info.plist"
    COMMAND ${CMAKE_COMMAND} -E copy "${info_plist}" "${contents_dir}/Info.plist"
    DEPENDS "${info_plist}"
    COMMENT "Bundle ${ARG_NAME}: Info.plist"
    VERBATIM)

  file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS LIST_DIRECTORIES false
    RELATIVE "${resources_dir}" "${resources_dir}/*")
  foreach(relative IN LISTS resource_files)
    set(source "${resources_dir}/${relative}")
    if(relative MATCHES "\\.ts$")
      string(REGEX REPLACE "\\.ts$" ".qm" compiled "${relative}")
      set(output "${contents_dir}/Resources/${compiled}")
      get_filename_component(output_dir "${output}" DIRECTORY)
      add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
        COMMAND Qt6::lrelease -silent "${source}" -qm "${output}"
        DEPENDS "${source}" Qt6::lrelease
        COMMENT "Bundle ${ARG_NAME}: compiling string table ${relative}"
        VERBATIM)
    else()
      set(output "${contents_dir}/Resources/${relative}")
      add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${output}"
        DEPENDS "${source}"
        COMMENT "Bundle ${ARG_NAME}: ${relative}"
        VERBATIM)
    endif()
    list(APPEND outputs "${output}")
  endforeach()

  add_custom_target(${bundle_target} ALL DEPENDS ${outputs})

  if(ARG_TARGET)
    # A module linked elsewhere is copied after every link, so the bundle never carries a stale
    # one.
    get_target_property(module_dir ${ARG_TARGET} LIBRARY_OUTPUT_DIRECTORY)
    if(NOT module_dir STREQUAL contents_dir)
      add_custom_command(TARGET ${ARG_TARGET} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory "${contents_dir}"
        COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:${ARG_TARGET}>" "${contents_dir}/"
        VERBATIM)
    endif()
    add_dependencies(${bundle_target} ${ARG_TARGET})
  endif()
  set(VEXTEL_LAST_BUNDLE_TARGET ${bundle_target} PARENT_SCOPE)
endfunction()
