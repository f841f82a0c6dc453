cmake_minimum_required(VERSION 3.25)
# Fails when a source file includes a header of a layer above its own. The layers, lowest first:
# platform, model, generator, widgets, pages, preview, window, app, with cli beside preview and
# window over pages; each may include its own folder and those below it.
# Run as: cmake -DROOT=<source dir> -P cmake/CheckLayers.cmake
set(allowed_platform platform)
set(allowed_model platform model)
set(allowed_generator platform model generator)
set(allowed_widgets platform model generator widgets)
set(allowed_pages platform model generator widgets pages)
set(allowed_preview platform model generator widgets pages preview)
set(allowed_window platform model generator widgets pages preview window)
set(allowed_cli platform model generator widgets pages cli)
set(allowed_app platform model generator widgets pages preview window cli app)

set(violations "")
foreach(layer platform model generator widgets pages preview window cli app)
    file(GLOB_RECURSE sources "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
    foreach(source ${sources})
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"/]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"/]+)/.*" "\\1" folder "${line}")
            if(NOT folder IN_LIST allowed_${layer})
                file(RELATIVE_PATH relative "${ROOT}" "${source}")
                string(APPEND violations "\n  ${relative}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    message(FATAL_ERROR "Includes against the layering:${violations}")
endif()
message(STATUS "Every include keeps to its layer.")
