# Writes the bytes of INPUT as the array behind app/logo_data.h into OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}
  "// Generated from app/resources/logo.png at build time.\n"
  "#include \"app/logo_data.h\"\n\n"
  "const unsigned char LogoPng[] = {${bytes}};\n"
  "const size_t LogoPngSize = ${byte_count};\n")
