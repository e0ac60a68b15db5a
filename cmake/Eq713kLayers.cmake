# The product's own code in layers: one object library per subsystem, each naming the layers it
# needs. Every layer's objects go into the plug-in's shared code target, so that the plug-in
# formats and the tests link that one library; each layer is compiled as the shared code is,
# without building the framework's modules again.
#
# A layer's files may include only its own files and those of the layers it needs, directly or
# through another layer; the build checks every include of the layers' files before it compiles
# them (CheckLayerIncludes.cmake) and stops at one that runs up the layers.

set(EQ713K_LAYER_CHECK_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/CheckLayerIncludes.cmake")

# eq713k_add_layer(<name> FILES <sources and headers...> [NEEDS <layers...>])
function(eq713k_add_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "FILES;NEEDS")
    add_library(${name} OBJECT ${layer_FILES})
    eq713k_use_shared_code_settings(${name})
    if(layer_NEEDS)
        target_link_libraries(${name} PUBLIC ${layer_NEEDS})
    endif()
    target_link_libraries(Eq713k PRIVATE ${name})
    set_target_properties(${name} PROPERTIES EQ713K_LAYER_FILES "${layer_FILES}" EQ713K_LAYER_NEEDS "${layer_NEEDS}")
    set_property(GLOBAL APPEND PROPERTY EQ713K_LAYERS ${name})
endfunction()

# The layers a layer may see: itself and all it needs, directly or not.
function(eq713k_layer_closure name out)
    set(seen ${name})
    set(pending ${name})
    while(pending)
        list(POP_FRONT pending current)
        get_target_property(needs ${current} EQ713K_LAYER_NEEDS)
        foreach(need IN LISTS needs)
            if(NOT need IN_LIST seen)
                list(APPEND seen ${need})
                list(APPEND pending ${need})
            endif()
        endforeach()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Called once every layer exists: writes the layers' map and checks it before any layer compiles.
function(eq713k_check_layer_includes)
    get_property(layers GLOBAL PROPERTY EQ713K_LAYERS)
    set(map "set(source_root \"${CMAKE_SOURCE_DIR}\")\nset(layers ${layers})\n")
    set(all_files "")
    foreach(layer IN LISTS layers)
        get_target_property(files ${layer} EQ713K_LAYER_FILES)
        eq713k_layer_closure(${layer} visible)
        string(APPEND map "set(${layer}_files \"${files}\")\nset(${layer}_visible ${visible})\n")
        list(APPEND all_files ${files})
    endforeach()

    set(map_file "${CMAKE_BINARY_DIR}/Eq713kLayerMap.cmake")
    file(CONFIGURE OUTPUT "${map_file}" CONTENT "${map}" @ONLY)

    set(stamp "${CMAKE_BINARY_DIR}/Eq713kLayerIncludes.checked")
    add_custom_command(OUTPUT "${stamp}"
        COMMAND ${CMAKE_COMMAND} "-Dmap=${map_file}" -P "${EQ713K_LAYER_CHECK_SCRIPT}"
        COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
        DEPENDS ${all_files} "${map_file}" "${EQ713K_LAYER_CHECK_SCRIPT}"
        COMMENT "Checking that no include runs up the layers"
        VERBATIM)
    add_custom_target(Eq713kLayerIncludes DEPENDS "${stamp}")
    foreach(layer IN LISTS layers)
        add_dependencies(${layer} Eq713kLayerIncludes)
    endforeach()
endfunction()
