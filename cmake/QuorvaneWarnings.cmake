# Our own targets' warnings, errors with QUORVANE_WARNINGS_AS_ERRORS;
# third-party headers come in as system includes and are not held to them.
function(quorvane_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast)
  if(QUORVANE_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
