# SPDX-License-Identifier: MIT
# Fails when a source file under src/ includes a header of a layer above its
# own. The layers, lowest first: protocol <- link <- ui <- app.
#   cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake
set(layers protocol link ui app)
set(violations "")
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} own_rank)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z]+)/.*" "\\1" included "${line}")
      list(FIND layers ${included} included_rank)
      if(included_rank GREATER own_rank)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
        string(APPEND violations "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "A layer includes a header of a layer above it "
                      "(protocol <- link <- ui <- app):\n${violations}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
