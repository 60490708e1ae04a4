# Windows programs of either bitness run under Wine, in a private prefix inside the build folder,
# so that neither tests nor build steps touch the user's own Wine prefix. The 64-bit loader starts
# 32-bit programs too, in the same kind of prefix; their system programs (regsvr32, reg, cscript)
# are the 32-bit ones in syswow64. Build-time tools are 64-bit programs in either preset.
set(QUILLMARK_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "64-bit Wine loader")
set(QUILLMARK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(QUILLMARK_WINDOWS_SYSTEM_DIR "C:\\windows\\syswow64")
else()
  set(QUILLMARK_WINDOWS_SYSTEM_DIR "C:\\windows\\system32")
endif()
foreach(script wine-run wine-build-step)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${script}.in ${CMAKE_BINARY_DIR}/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
endforeach()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
