# SPDX-License-Identifier: MIT
# Each layer library sees its own headers and, through the libraries it links,
# those of the layers below it: nothing above. src/ itself is no include
# directory; each layer gets a folder of its own in the build tree that holds
# only a link to its sources, so "link/Exchange.h" does not even resolve in
# protocol. (Where links cannot be made, as on a Windows without developer
# mode, the folder holds a copy, refreshed at every configure.)
function(kestrix_layer_includes target layer)
  set(root ${CMAKE_BINARY_DIR}/layer-include/${layer})
  file(MAKE_DIRECTORY ${root})
  cmake_path(ABSOLUTE_PATH layer BASE_DIRECTORY ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../src NORMALIZE
             OUTPUT_VARIABLE sources)
  if(NOT EXISTS ${root}/${layer})
    file(CREATE_LINK ${sources} ${root}/${layer} SYMBOLIC COPY_ON_ERROR)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
