# Run after the framework has written the LV2 bundle's Turtle files:
#
#   cmake -Dmanifest=<bundle>/manifest.ttl -P UiFeaturesInManifest.cmake
#
# The framework says in ui.ttl that the user does not resize the editor (ui:noUserResize), but
# a host reads ui.ttl only if it loads the UI's own data, and jalv 1.6 asks before it does: it
# took the window for freely resizable, let the user drag it to any size and kept the wider
# width after the editor narrowed. The UI's entry in manifest.ttl says it too, where every
# host looks.
if(NOT EXISTS "${manifest}")
    message(FATAL_ERROR "no manifest at ${manifest}")
endif()

file(READ "${manifest}" text)

if(text MATCHES "lv2:optionalFeature ui:noUserResize")
    return()
endif()

string(FIND "${text}" "a ui:X11UI ;" at)

if(at EQUAL -1)
    message(FATAL_ERROR "no X11 UI entry in ${manifest}")
endif()

string(REPLACE "a ui:X11UI ;" "a ui:X11UI ;\n\tlv2:optionalFeature ui:noUserResize ;" text "${text}")
file(WRITE "${manifest}" "${text}")
