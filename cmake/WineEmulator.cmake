# Windows programs of this build run under Wine's 64-bit loader, in a private prefix inside the
# build folder, so that neither tests nor build steps touch the user's own Wine prefix. Every
# preset runs build-time tools (64-bit programs); the 64-bit preset also runs its tests.
set(QUILLMARK_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "64-bit Wine loader")
set(QUILLMARK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix")
foreach(script wine-run wine-build-step)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${script}.in ${CMAKE_BINARY_DIR}/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
endforeach()
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()
