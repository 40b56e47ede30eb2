# Writes a source file that compares every Windows-named constant of the
# engine's table with the value the SDK headers give it, at compile time:
# a constant that differs stops the build with its name.
#   cmake -DTABLE=engine/constants_table.cpp -DOUT=check.cpp -P constants_check.cmake
file(STRINGS ${TABLE} lines REGEX "^ *\\{u\"[A-Z][A-Z0-9_]*\", [0-9]+\\},")
set(checks "")
foreach(line ${lines})
  string(REGEX REPLACE "^ *\\{u\"([A-Z0-9_]+)\", ([0-9]+)\\},.*" "\\1;\\2" row "${line}")
  list(GET row 0 name)
  list(GET row 1 value)
  string(APPEND checks "static_assert(static_cast<long long>(${name}) == ${value}LL, \"${name}\");\n")
endforeach()
list(LENGTH lines count)
file(WRITE ${OUT} "// Generated from ${TABLE}: ${count} constants against the SDK headers.\n"
                  "#include <windows.h>\n#include <shlobj.h>\n\n${checks}")
