# Turns a file into a C++ byte array so core reads its string table without a resource system.
# Usage: cmake -DIN=file -DOUT=file.cpp -DSYMBOL=name -P embed_file.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp" "// Generated from ${IN}; do not edit.\n#include <cstddef>\nnamespace norvik::detail {\nextern const unsigned char ${SYMBOL}[] = {\n${bytes}0x00};\nextern const std::size_t ${SYMBOL}_size = ${size};\n}\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
