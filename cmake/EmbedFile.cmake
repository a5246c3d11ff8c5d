# ponderix_embed_file(TARGET <target> SOURCE <file> SYMBOL <name> [DEPENDS <target>...])
# Generates a C++ source that defines `extern const std::span<const unsigned char> <name>`
# in namespace ponderix::assets holding the file's bytes exactly (no newline
# translation), and adds it to <target>. SOURCE may be a generator expression
# such as $<TARGET_FILE:lib>; name that target under DEPENDS so that it is built
# first and embedded again whenever it is rebuilt.
function(ponderix_embed_file)
  cmake_parse_arguments(ARG "" "TARGET;SOURCE;SYMBOL" "DEPENDS" ${ARGN})
  set(generated ${CMAKE_BINARY_DIR}/embedded/${ARG_SYMBOL}.cpp)
  add_custom_command(
    OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${ARG_SOURCE} -DOUTPUT=${generated} -DSYMBOL=${ARG_SYMBOL}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS ${ARG_SOURCE} ${ARG_DEPENDS} ${CMAKE_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    COMMENT "Embedding ${ARG_SOURCE}"
    VERBATIM)
  # The rule belongs to a target of this folder; the consuming target may be
  # defined in another folder and only depends on it.
  add_custom_target(embed_${ARG_SYMBOL} DEPENDS ${generated})
  # Plain data: nothing for moc to look at.
  set_source_files_properties(${generated} TARGET_DIRECTORY ${ARG_TARGET}
    PROPERTIES GENERATED ON SKIP_AUTOGEN ON)
  target_sources(${ARG_TARGET} PRIVATE ${generated})
  add_dependencies(${ARG_TARGET} embed_${ARG_SYMBOL})
endfunction()
