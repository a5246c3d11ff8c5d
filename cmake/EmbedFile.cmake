# ponderix_embed_file(<out-var> SOURCE <file> SYMBOL <name>)
# Generates a C++ source that defines `extern const std::span<const unsigned char> <name>`
# in namespace ponderix::assets holding the file's bytes exactly (no newline translation),
# and appends its path to <out-var>.
function(ponderix_embed_file out_var)
  cmake_parse_arguments(ARG "" "SOURCE;SYMBOL" "" ${ARGN})
  set(generated ${CMAKE_BINARY_DIR}/embedded/${ARG_SYMBOL}.cpp)
  add_custom_command(
    OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${ARG_SOURCE} -DOUTPUT=${generated} -DSYMBOL=${ARG_SYMBOL}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS ${ARG_SOURCE} ${CMAKE_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    COMMENT "Embedding ${ARG_SOURCE}"
    VERBATIM)
  set(${out_var} ${${out_var}} ${generated} PARENT_SCOPE)
endfunction()
