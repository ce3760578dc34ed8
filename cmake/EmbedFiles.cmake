# Writes OUTPUT, a C++ file that holds each of FILES (a list of paths) as an
# array of bytes, listed by webAssets() (app/serve/WebAssets.h) under the
# file's name. Run as a build step: cmake -DOUTPUT=... -DFILES=... -P EmbedFiles.cmake
set(arrays "")
set(entries "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
  # A zero after the bytes, so that an empty file still makes an array.
  string(APPEND arrays "// ${name}\nconst unsigned char file${index}[] = {\n    ${bytes}0};\n")
  string(APPEND entries "      {\"${name}\", {reinterpret_cast<const char*>(file${index}), sizeof file${index} - 1}},\n")
  math(EXPR index "${index} + 1")
endforeach()
set(text "// Made by cmake/EmbedFiles.cmake from app/web/ at build time; not edited by hand.
#include \"serve/WebAssets.h\"

namespace cli::serve {
namespace {
${arrays}}  // namespace

const std::vector<WebAsset>& webAssets() {
  static const std::vector<WebAsset> assets{
${entries}  };
  return assets;
}

}  // namespace cli::serve
")
# Written only when it changed, so that an unchanged page compiles nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
