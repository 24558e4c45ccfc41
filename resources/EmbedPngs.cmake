# Writes a C++ source holding every picture of the resource script as a byte array, with the lookup
# by id that Linux builds use in place of the module's resource section.
#   cmake -DRC=<resource script> -DOUT=<generated .cpp> -P EmbedPngs.cmake
get_filename_component(dir "${RC}" DIRECTORY)
file(STRINGS "${RC}" lines REGEX "^[0-9]+[ \t]+PNG[ \t]+\"[^\"]+\"")

set(arrays "")
set(cases "")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^([0-9]+)[ \t]+PNG[ \t]+\"([^\"]+)\"" _ "${line}")
  set(id "${CMAKE_MATCH_1}")
  set(file "${dir}/${CMAKE_MATCH_2}")
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  if(digits EQUAL 0)
    message(FATAL_ERROR "empty picture ${file}")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "const uint8_t kPng${id}[] = {\n${bytes}};\n\n")
  string(APPEND cases "    case ${id}:\n        return {kPng${id}, sizeof kPng${id}};\n")
endforeach()

file(WRITE "${OUT}.tmp" "// Generated from ${RC}; do not edit.
#include \"draw/ResourceStore.h\"

namespace
{

${arrays}} // namespace

namespace tpm
{

std::span<const uint8_t> FindPngResource(int id)
{
    switch (id)
    {
${cases}    default:
        return {};
    }
}

} // namespace tpm
")
# Only touch the output when it changed, so unchanged pictures rebuild nothing.
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
