# JSON through Debian's header-only nlohmann-json3-dev. The cross builds
# must not search /usr/include (the host's C library lives there), so the
# library's own folder is linked into a folder of the build tree and only
# that folder is searched.
set(LYRO_JSON_HEADERS /usr/include/nlohmann)
if(NOT EXISTS ${LYRO_JSON_HEADERS}/json.hpp)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install the Debian package nlohmann-json3-dev "
                      "(./test.sh and ./run.sh install it)")
endif()
set(LYRO_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${LYRO_JSON_INCLUDE})
file(CREATE_LINK ${LYRO_JSON_HEADERS} ${LYRO_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(json INTERFACE)
target_include_directories(json SYSTEM INTERFACE ${LYRO_JSON_INCLUDE})
