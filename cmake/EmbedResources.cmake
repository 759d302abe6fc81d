# zg_embed_resources(<output.cpp> <name> <type> <file> [<name> <type> <file> ...])
#
# Generates a C++ source that holds every listed file as a byte array in one
# table keyed by (name, type), read at run time through zg::loadResource.
# The file is regenerated whenever one of the inputs changes.
function(zg_embed_resources output)
    set(entries ${ARGN})
    list(LENGTH entries count)
    math(EXPR rem "${count} % 3")
    if(NOT rem EQUAL 0)
        message(FATAL_ERROR "zg_embed_resources: entries come in triples of name, type and file")
    endif()
    set(depends)
    set(args)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 3)
        math(EXPR t "${i} + 1")
        math(EXPR f "${i} + 2")
        list(GET entries ${i} name)
        list(GET entries ${t} type)
        list(GET entries ${f} file)
        get_filename_component(abs "${file}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
        list(APPEND depends "${abs}")
        list(APPEND args "${name}|${type}|${abs}")
    endforeach()
    string(REPLACE ";" "," joined "${args}")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DENTRIES=${joined}"
                -P "${CMAKE_SOURCE_DIR}/cmake/EmbedResourcesScript.cmake"
        DEPENDS ${depends} "${CMAKE_SOURCE_DIR}/cmake/EmbedResourcesScript.cmake"
        COMMENT "Embedding resources"
        VERBATIM)
endfunction()
