# Runs Debian's lv2info on the built bundle alone: it must list the plug-in under its full URI
# and report no error or warning about the bundle's data.
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
