# Builds the stage page into songserv: stage.html with its style and its
# two scripts put in place of its two marker lines, written as the bytes of
# one C++ array, so that songserv.exe stays one file and the page needs
# nothing from the network.
#   cmake -DPAGE_DIR=... -DOUTPUT=... -P embed_stage_page.cmake
file(READ ${PAGE_DIR}/stage.html page)
file(READ ${PAGE_DIR}/stage.css style)
file(READ ${PAGE_DIR}/stage_layout.js layout)
file(READ ${PAGE_DIR}/stage_app.js app)
foreach(marker "<!--STAGE_STYLE-->" "<!--STAGE_SCRIPT-->")
  string(FIND "${page}" "${marker}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "stage.html has no ${marker} line")
  endif()
endforeach()
string(REPLACE "<!--STAGE_STYLE-->" "<style>\n${style}</style>" page "${page}")
string(REPLACE "<!--STAGE_SCRIPT-->" "<script>\n${layout}\n${app}</script>" page "${page}")
file(WRITE ${OUTPUT}.html "${page}")
file(READ ${OUTPUT}.html hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}.new
  "// Made at build time from server/stage_page by embed_stage_page.cmake.\n"
  "#include \"server/stage_http.h\"\n\n"
  "namespace lyro {\n\nnamespace {\n\nconstexpr unsigned char kPageBytes[] = {${bytes}};\n\n}  // namespace\n\n"
  "const std::string_view kStagePage(reinterpret_cast<const char*>(kPageBytes), ${size});\n\n}  // namespace lyro\n")
file(RENAME ${OUTPUT}.new ${OUTPUT})
