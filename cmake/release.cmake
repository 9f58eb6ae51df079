# The Windows release: songbook-<version>-win32.zip with songdesk.exe,
# songserv.exe, songtool.exe and README.txt, made by CPack's ZIP generator
# (release.sh runs it).
set(release_readme ${CMAKE_BINARY_DIR}/release/README.txt)
set(readme_source ${CMAKE_SOURCE_DIR}/docs/windows/README.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${readme_source})
# Notepad on older Windows shows only CR LF line ends as line breaks.
file(READ ${readme_source} readme_text)
string(REPLACE "@SONGBOOK_VERSION@" "${PROJECT_VERSION}" readme_text "${readme_text}")
string(REPLACE "\n" "\r\n" readme_text "${readme_text}")
file(WRITE ${release_readme} "${readme_text}")

install(TARGETS songdesk songserv songtool RUNTIME DESTINATION .)
install(FILES ${release_readme} DESTINATION .)
# The release needs only the two programs, not every test program.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(release_platform win64)
else()
  set(release_platform win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME songbook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME songbook-${PROJECT_VERSION}-${release_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
include(CPack)
