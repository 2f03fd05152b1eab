# Most of the program runs once (the wiring at start-up, building a view)
# or when a person clicks, and there its size costs more than its speed:
# optimised builds compile it for size, which halves the code start-up
# pages in. The libraries whose code runs per input event, per frame or
# per pixel stay compiled for speed: quorvane_fast(target).
if(NOT QUORVANE_SANITIZE)
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo>:-Os>)
endif()

function(quorvane_fast target)
  if(NOT QUORVANE_SANITIZE)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-O2>)
  endif()
endfunction()
