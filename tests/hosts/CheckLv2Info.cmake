# Runs Debian's lv2info on the built bundle alone: it must list the plug-in under its full URI,
# report no error or warning about the bundle's data, show the maker's e-mail and homepage as the
# real addresses (an empty address reads as the bundle's own file) and name every preset.
#   cmake -Dbundle=<bundle.lv2> -Duri=<plug-in URI> -P CheckLv2Info.cmake

find_program(lv2info lv2info)
if(NOT lv2info)
    message(FATAL_ERROR "lv2info not found (Debian package lilv-utils)")
endif()

get_filename_component(bundle_folder "${bundle}" DIRECTORY)

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "LV2_PATH=${bundle_folder}" ${lv2info} ${uri}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)

message("${output}${errors}")

if(NOT result EQUAL 0)
    message(FATAL_ERROR "lv2info exited with ${result}")
endif()

string(REGEX MATCH "^[^\n]*" first_line "${output}")
if(NOT first_line STREQUAL uri)
    message(FATAL_ERROR "lv2info does not show the plug-in under ${uri} (first line: '${first_line}')")
endif()

string(TOLOWER "${output}${errors}" all_output)
if(all_output MATCHES "error|warning")
    message(FATAL_ERROR "lv2info reports errors or warnings")
endif()

# The maker's addresses, each on its own line of the plug-in's description.
foreach(field_and_value IN ITEMS "Author Email:mailto:info@halvorstine.example"
                                 "Author Homepage:https://halvorstine.example")
    string(REPLACE ":" ";" parts "${field_and_value}")
    list(POP_FRONT parts field)
    list(JOIN parts ":" expected_value)
    string(REGEX MATCH "\n[ \t]*${field}:[ \t]*([^\n]*)" field_line "${output}")
    if(NOT CMAKE_MATCH_1 STREQUAL expected_value)
        message(FATAL_ERROR "lv2info shows ${field} '${CMAKE_MATCH_1}', expected '${expected_value}'")
    endif()
endforeach()

# The presets are listed one a line under "Presets:", up to the blank line that ends the block;
# a preset without a label shows as a line of blanks.
string(REGEX MATCH "\n[ \t]*Presets:[^\n]*\n(([ \t]+[^\n]*\n)*)" presets_block "${output}")
set(preset_lines "${CMAKE_MATCH_1}")
if(preset_lines STREQUAL "")
    message(FATAL_ERROR "lv2info lists no preset: the plug-in's one program is missing")
endif()
string(REGEX REPLACE "\n$" "" preset_lines "${preset_lines}")
string(REPLACE "\n" ";" preset_lines "${preset_lines}")
foreach(line IN LISTS preset_lines)
    string(STRIP "${line}" label)
    if(label STREQUAL "")
        message(FATAL_ERROR "lv2info lists a preset without a name")
    endif()
endforeach()
