# Windows programs built by the 64-bit preset run under Wine, in a private prefix inside the build
# folder, so that tests never touch the user's own Wine prefix.
set(QUILLMARK_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "64-bit Wine loader")
set(QUILLMARK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()
