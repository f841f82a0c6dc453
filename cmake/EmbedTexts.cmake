# Turns text files into a C++ source that holds each as bytes, so that the files stay files in
# the source tree and the program still carries them inside itself. Run as a script:
#   cmake -DOUTPUT=<file.cpp> -DHEADER=<include path> -DNAMESPACE=<ns> \
#         -DTEXTS=<function>=<file>,<function>=<file>,... -P EmbedTexts.cmake
# For each pair the source defines `std::string_view <function>()` in namespace <ns>, returning
# the file's bytes exactly as they are on disk (no end-of-line or encoding conversion).
string(REPLACE "," ";" pairs "${TEXTS}")
set(body "")
foreach(pair IN LISTS pairs)
    string(FIND "${pair}" "=" split)
    string(SUBSTRING "${pair}" 0 ${split} function)
    math(EXPR start "${split} + 1")
    string(SUBSTRING "${pair}" ${start} -1 file)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    # Forty bytes to a line.
    string(REGEX REPLACE "(('[^']*',){40})" "\\1\n    " bytes "${bytes}")
    string(APPEND body
        "namespace {\nconstexpr char ${function}Bytes[${size} + 1] = {\n    ${bytes}'\\0'};\n}\n\n"
        "std::string_view ${function}() {\n"
        "    return {${function}Bytes, ${size}};\n"
        "}\n\n")
endforeach()
set(text "// Made at build time by cmake/EmbedTexts.cmake from the files it names; do not edit.\n")
string(APPEND text "#include \"${HEADER}\"\n\nnamespace ${NAMESPACE} {\n\n${body}} // namespace ${NAMESPACE}\n")
# Written only when it changes, so that an unchanged text does not rebuild anything.
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
endif()
