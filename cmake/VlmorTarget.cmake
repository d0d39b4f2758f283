# SPDX-License-Identifier: MIT
# Warning flags for our own targets; third-party code never sees them.
function(vlmor_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VLMOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
