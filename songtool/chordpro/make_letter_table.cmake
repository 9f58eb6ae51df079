# Writes songtool's letter table from the Unicode Character Database, so that
# a new Unicode release needs no hand work: the letters, the nonspacing marks
# and the canonical decompositions, as sorted C++ arrays for binary search.
#   cmake -DUNICODE_DATA=.../UnicodeData.txt -DOUTPUT=... -P make_letter_table.cmake
if(NOT EXISTS "${UNICODE_DATA}")
  message(FATAL_ERROR "No UnicodeData.txt at '${UNICODE_DATA}'")
endif()

# Only the lines each array needs are read at all: looping over all of the
# file's lines in CMake would take many times longer.
set(hex "[0-9A-F]+")
set(field "[^;]*;")
file(STRINGS "${UNICODE_DATA}" letter_lines REGEX "^${hex};${field}L[ultmo];")
file(STRINGS "${UNICODE_DATA}" mark_lines REGEX "^${hex};${field}Mn;")
# Field 5 starting with a hex digit: a canonical decomposition (the
# compatibility ones start with their <tag>).
file(STRINGS "${UNICODE_DATA}" decomposition_lines
     REGEX "^${hex};${field}${field}${field}${field}[0-9A-F]")

# Consecutive code points as "{0xFIRST, 0xLAST}," lines. A "<..., Last>" line
# closes the range its "<..., First>" line opened: the code points between
# have no lines of their own.
function(merge_ranges lines out_var)
  set(text "")
  set(first "")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "^(${hex});([^;]*);" _ "${line}")
    set(code_hex ${CMAKE_MATCH_1})
    set(name "${CMAKE_MATCH_2}")
    math(EXPR code "0x${code_hex}")
    if(NOT first STREQUAL "" AND (code EQUAL next OR name MATCHES ", Last>$"))
      set(last_hex ${code_hex})
    else()
      if(NOT first STREQUAL "")
        string(APPEND text "    {0x${first}, 0x${last_hex}},\n")
      endif()
      set(first ${code_hex})
      set(last_hex ${code_hex})
    endif()
    math(EXPR next "${code} + 1")
  endforeach()
  if(NOT first STREQUAL "")
    string(APPEND text "    {0x${first}, 0x${last_hex}},\n")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

merge_ranges("${letter_lines}" letter_ranges)
merge_ranges("${mark_lines}" mark_ranges)

foreach(line IN LISTS mark_lines)
  string(REGEX MATCH "^${hex}" code "${line}")
  set(is_mark_${code} TRUE)
endforeach()

# Each decomposition as its first part and whether all that follows it is
# nonspacing marks: only then is the first part the plain letter. Following
# the first part further down is left to the lookup, which knows what
# Windows-1252 has.
set(decompositions "")
foreach(line IN LISTS decomposition_lines)
  string(REGEX MATCH "^(${hex});${field}${field}${field}${field}([0-9A-F ]+);" _ "${line}")
  set(code ${CMAKE_MATCH_1})
  string(REPLACE " " ";" parts "${CMAKE_MATCH_2}")
  list(POP_FRONT parts first_part)
  # The one mark after the first part, for putting the two together again.
  list(LENGTH parts part_count)
  set(second_part 0)
  if(part_count EQUAL 1)
    set(second_part 0x${parts})
  endif()
  set(marks_only true)
  foreach(part IN LISTS parts)
    if(NOT is_mark_${part})
      set(marks_only false)
      break()
    endif()
  endforeach()
  string(APPEND decompositions "    {0x${code}, 0x${first_part}, ${second_part}, ${marks_only}},\n")
endforeach()

file(WRITE "${OUTPUT}.new"
  "// Made at build time from UnicodeData.txt by make_letter_table.cmake.\n"
  "#pragma once\n\n"
  "namespace lyro::letter_table {\n\n"
  "struct Range {\n    char32_t first;\n    char32_t last;\n};\n\n"
  "struct Decomposition {\n    char32_t code;\n    char32_t first_part;\n"
  "    char32_t second_part;  // when there are just two parts, else 0\n"
  "    bool marks_only;  // all that follows first_part is nonspacing marks\n};\n\n"
  "// General categories Lu, Ll, Lt, Lm and Lo.\n"
  "inline constexpr Range kLetters[] = {\n${letter_ranges}};\n\n"
  "// General category Mn.\n"
  "inline constexpr Range kNonspacingMarks[] = {\n${mark_ranges}};\n\n"
  "// Canonical decompositions, by code point.\n"
  "inline constexpr Decomposition kDecompositions[] = {\n${decompositions}};\n\n"
  "}  // namespace lyro::letter_table\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
