# The Windows builds' resources: each program's icon, manifest and version
# information, compiled by windres. The version numbers come from project()
# through songbook_version.h, made here in the build folder; the release
# zip's name takes the same PROJECT_VERSION (cmake/release.cmake).
foreach(number MAJOR MINOR PATCH TWEAK)
  set(SONGBOOK_VERSION_${number} 0)
  if(NOT "${PROJECT_VERSION_${number}}" STREQUAL "")
    set(SONGBOOK_VERSION_${number} ${PROJECT_VERSION_${number}})
  endif()
endforeach()
set(LYRO_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
configure_file(${CMAKE_SOURCE_DIR}/resources/songbook_version.h.in
               ${LYRO_VERSION_DIR}/songbook_version.h @ONLY)

# lyro_compile_resources(VAR NAME.rc [DEPENDS files...]) compiles NAME.rc of
# the current source folder into NAME_res.o of the current build folder,
# built by the target NAME_resources, and sets VAR to the object's path.
# The .rc file finds its files in its own folder and in resources/, and the
# version header. DEPENDS names the files that it takes in (icons, the
# manifest): windres reads them, but CMake cannot see that.
function(lyro_compile_resources var rc)
  cmake_parse_arguments(R "" "" "DEPENDS" ${ARGN})
  get_filename_component(name ${rc} NAME_WE)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}_res.o)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -I ${CMAKE_CURRENT_SOURCE_DIR}
            -I ${CMAKE_SOURCE_DIR}/resources -I ${LYRO_VERSION_DIR}
            -O coff -i ${CMAKE_CURRENT_SOURCE_DIR}/${rc} -o ${object}
    DEPENDS ${rc} ${R_DEPENDS} ${CMAKE_SOURCE_DIR}/resources/version_info.rc
            ${LYRO_VERSION_DIR}/songbook_version.h
    COMMENT "Compiling ${name}'s resources")
  add_custom_target(${name}_resources DEPENDS ${object})
  set(${var} ${object} PARENT_SCOPE)
endfunction()

# lyro_add_program_resources(TARGET NAME.rc [DEPENDS files...]) links the
# compiled NAME.rc into the program TARGET of another folder.
function(lyro_add_program_resources target rc)
  lyro_compile_resources(object ${rc} ${ARGN})
  get_filename_component(name ${rc} NAME_WE)
  target_sources(${target} PRIVATE ${object})
  add_dependencies(${target} ${name}_resources)
endfunction()
