# Writes OUTPUT, a header that holds each file of INPUTS (a list) as a
# string constant named after the file: modern-page.css becomes
# kModernPageCss. Run as a script at build time, so that the files stay
# files of their own, which editors, linters and readers take as they are.
set(header "#pragma once\n// Made at build time from mapgen/page/modern/; edit the files there.\n\n")
string(APPEND header "#include <string_view>\n\nnamespace mapgen {\n")
foreach(input IN LISTS INPUTS)
  file(READ "${input}" text)
  # The text goes into a <style> or <script> element and a raw string
  # literal: nothing in it may end either.
  string(TOLOWER "${text}" lower)
  foreach(end "</style" "</script" "<!--" ")embedded\"")
    string(FIND "${lower}" "${end}" found)
    if(NOT found EQUAL -1)
      message(FATAL_ERROR "${input} holds ${end}, which would end its element")
    endif()
  endforeach()
  get_filename_component(file "${input}" NAME)
  string(REGEX REPLACE "[-.]" ";" words "${file}")
  set(name "k")
  foreach(word IN LISTS words)
    string(SUBSTRING "${word}" 0 1 first)
    string(SUBSTRING "${word}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    string(APPEND name "${first}${rest}")
  endforeach()
  string(APPEND header "\ninline constexpr std::string_view ${name} = R\"embedded(${text})embedded\";\n")
endforeach()
string(APPEND header "\n}  // namespace mapgen\n")
file(WRITE "${OUTPUT}.new" "${header}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
