# Delay-import libraries for system DLLs that are not among the system's
# known DLLs: the loader would look for those in the program's own folder
# first, where anything downloaded beside it could stand in. Delay-imported,
# a DLL is loaded at its first call, by LoadLibrary, after start-up has
# restricted the search to the system folder (app/main.cpp).
#
#   rombo_delay_import(<target> <dll name without .dll>)
#
# makes the INTERFACE target <target> that links lib<dll>_delay.a, built at
# configure time from the toolchain's ordinary import library.
function(rombo_delay_import target dll)
  find_library(_import_${dll} NAMES lib${dll}.a REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delay.a)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${ROMBO_TRIPLET}-nm ${_import_${dll}}
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  # "__imp_glBegin" (x86_64) or "__imp__glBegin@4" (i686, stdcall); the
  # DLL exports the name without the decoration, hence --kill-at.
  string(REGEX MATCHALL "I __imp_[^\n]+" imports "${symbols}")
  set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^I __imp_" "" name "${import}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^_" "" name "${name}")
    endif()
    string(APPEND text "${name}\n")
  endforeach()
  file(WRITE ${def} "${text}")
  # Made in its folder, so that the descriptor's symbol, named after the
  # library, is __DELAY_IMPORT_DESCRIPTOR_lib<dll>_delay_a (platform/win32/
  # graphics.cpp binds every import through it).
  execute_process(COMMAND ${ROMBO_TRIPLET}-dlltool --kill-at --input-def ${dll}.def
                          --dllname ${dll}.dll --output-delaylib lib${dll}_delay.a
                  WORKING_DIRECTORY ${dir} COMMAND_ERROR_IS_FATAL ANY)
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${lib})
endfunction()
