# Writes the string table of res/strings.txt (lines of an id, a tab and the
# UTF-8 text) as a resource script for Traditional Chinese (language 1028),
# still in UTF-8; the build turns it into Big5 (code page 950) with iconv.
#   cmake -DSTRINGS=res/strings.txt -DOUTPUT=strings-utf8.rc -P StringTable.cmake
file(STRINGS ${STRINGS} lines ENCODING UTF-8)
set(script "#pragma code_page(950)\nLANGUAGE LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL\n\nSTRINGTABLE\nBEGIN\n")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9]+)\t(.*)$")
    message(FATAL_ERROR "${STRINGS}: not an id, a tab and a text: ${line}")
  endif()
  set(id ${CMAKE_MATCH_1})
  set(text "${CMAKE_MATCH_2}")
  # A resource script's string doubles its quotes and escapes its backslashes.
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\"\"" text "${text}")
  string(APPEND script "  ${id} \"${text}\"\n")
endforeach()
string(APPEND script "END\n")
file(WRITE ${OUTPUT} "${script}")
