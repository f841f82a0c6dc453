cmake_minimum_required(VERSION 3.25)
# Fails when a source file includes a header of a layer above its own. The layers, lowest first:
# platform, model, generator, then the window (wizard) and the command line (cli) side by side,
# app; each may include its own folder and those below it, and neither wizard nor cli the other.
# Run as: cmake -DROOT=<source dir> -P cmake/CheckLayers.cmake
set(allowed_platform platform)
set(allowed_model platform model)
set(allowed_generator platform model generator)
set(allowed_wizard platform model generator wizard)
set(allowed_cli platform model generator cli)
set(allowed_app platform model generator wizard cli app)

set(violations "")
foreach(layer platform model generator wizard cli app)
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
