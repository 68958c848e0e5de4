# What the Windows build adds to the common one: DLL names without "lib",
# and the compiler's run-time DLLs copied beside the programs so that they
# start from build-windows/bin (and under Wine) without a PATH of their own.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")

set(TAVI_RUNTIME_DLLS "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}")
    find_file(found_${dll} ${dll} PATHS /usr/${TAVI_MINGW_TRIPLE}/lib NO_CMAKE_FIND_ROOT_PATH)
    set(found ${found_${dll}})
  endif()
  list(APPEND TAVI_RUNTIME_DLLS ${found})
endforeach()
add_custom_target(runtime-dlls ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAVI_RUNTIME_DLLS} ${TAVI_OUT}
  COMMENT "Copying the compiler's run-time DLLs")
