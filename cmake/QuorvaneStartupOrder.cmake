# Start-up runs about a quarter of the program's code, spread through the
# whole binary, and every page it touches (with the pages the kernel maps
# around each fault) stays resident. Linking the functions start-up runs
# next to each other keeps that to the code actually run: about 1.7 MB
# resident instead of 4.3 MB. Needs each function in its own section and a
# linker that takes a symbol order (LLD 15 or later, which also packs the
# relative relocations); without one the program links as before.
# The list is src/app/startup.order, written by tools/startup-order.sh.
option(QUORVANE_STARTUP_ORDER "Link the functions start-up runs next to each other" ON)

set(QUORVANE_LLD_FOLDER "")
if(QUORVANE_STARTUP_ORDER AND NOT QUORVANE_SANITIZE)
  find_program(QUORVANE_LLD NAMES ld.lld
    PATHS /usr/lib/llvm-16/bin /usr/lib/llvm-17/bin /usr/lib/llvm-15/bin NO_DEFAULT_PATH)
  if(QUORVANE_LLD)
    get_filename_component(QUORVANE_LLD_FOLDER "${QUORVANE_LLD}" DIRECTORY)
    add_compile_options(-ffunction-sections)
    message(STATUS "Start-up order: linking quorvane with ${QUORVANE_LLD}")
  else()
    message(STATUS "Start-up order: no LLD 15 or later (Debian: lld-16); linking as usual")
  endif()
endif()

# Links `target` with its start-up functions first, when the linker can.
function(quorvane_order_startup target order_file)
  if(NOT QUORVANE_LLD_FOLDER)
    return()
  endif()
  target_link_options(${target} PRIVATE "-B${QUORVANE_LLD_FOLDER}/" -fuse-ld=lld
    "LINKER:--symbol-ordering-file=${order_file}" "LINKER:--no-warn-symbol-ordering"
    "LINKER:-z,pack-relative-relocs")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${order_file}")
endfunction()
