# SPDX-License-Identifier: MIT
# Fails when a source file under src/ includes a header of a layer above its
# own, in any form ("link/X.h", <link/X.h>, "../link/X.h"), or a Qt module its
# layer does not link (<QtWidgets/QWidget> in protocol). The layers, lowest
# first: protocol <- link <- ui <- app; the command line (cli) stands on
# protocol and link, and nothing includes it.
#   cmake -DSOURCE_DIR=<src> [-DSTAMP=<file>] -P CheckLayers.cmake
# or include() it with SOURCE_DIR set, as the configure step does.
cmake_policy(SET CMP0057 NEW) # if(IN_LIST) in script mode
set(kestrix_layers protocol link ui app cli)
set(kestrix_below_protocol "")
set(kestrix_below_link protocol)
set(kestrix_below_ui protocol link)
set(kestrix_below_app protocol link ui)
set(kestrix_below_cli protocol link)
set(kestrix_qt_protocol QtCore)
set(kestrix_qt_link QtCore QtSerialPort)
set(kestrix_qt_ui QtCore QtSerialPort QtGui QtWidgets)
set(kestrix_qt_app QtCore QtSerialPort QtGui QtWidgets)
set(kestrix_qt_cli QtCore QtSerialPort)

set(kestrix_violations "")
foreach(layer IN LISTS kestrix_layers)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
      set(bad FALSE)
      if(header MATCHES "^\\.\\./|/\\.\\./")
        set(bad TRUE) # a path out of the layer's folder goes around the include directories
      elseif(header MATCHES "^(protocol|link|ui|app|cli)/")
        set(included ${CMAKE_MATCH_1})
        if(NOT included STREQUAL layer AND NOT included IN_LIST kestrix_below_${layer})
          set(bad TRUE)
        endif()
      elseif(header MATCHES "^(Qt[A-Za-z]+)/")
        if(NOT CMAKE_MATCH_1 IN_LIST kestrix_qt_${layer})
          set(bad TRUE)
        endif()
      endif()
      if(bad)
        string(APPEND kestrix_violations "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(kestrix_violations)
  message(FATAL_ERROR "A layer includes a header of a layer above it or a Qt module it does not link "
                      "(protocol <- link <- ui <- app; protocol <- link <- cli):\n${kestrix_violations}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
