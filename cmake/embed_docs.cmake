# Writes OUT, a C++ source that holds the manual's files FILES (paths under
# DOCS, separated by "|") as byte arrays, for `zunrunc --help NAME`. Bytes
# rather than string literals: compilers limit the length of a literal.
#   cmake -DDOCS=dir -DFILES="a.md|b/c.md" -DOUT=file.cpp -P embed_docs.cmake
string(REPLACE "|" ";" files "${FILES}")
string(REPEAT "[0-9a-f]" 32 line)
set(arrays "")
set(rows "")
set(i 0)
foreach(rel IN LISTS files)
  file(READ "${DOCS}/${rel}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")  # 16 bytes a line
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kFile${i}[] = {\n${bytes}0};\n")
  string(APPEND rows "    {\"${rel}\", reinterpret_cast<const char*>(kFile${i}), ${size}},\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE "${OUT}.new"
  "// Generated from docs/ by cmake/embed_docs.cmake when the build runs: do not edit.\n"
  "#include \"hosts/console/help.h\"\n\nnamespace zun {\nnamespace {\n\n${arrays}\n}  // namespace\n\n"
  "const HelpFile kHelpFiles[] = {\n${rows}    {nullptr, nullptr, 0},\n};\n\n}  // namespace zun\n")
# Only a changed text is written, so that an unchanged manual compiles nothing.
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.new" "${OUT}")
file(REMOVE "${OUT}.new")
