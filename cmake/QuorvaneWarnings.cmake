# Warnings are errors for our own targets only; third-party headers come in as
# system includes and are not held to them.
function(quorvane_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast
    -Werror)
endfunction()
