# Cross build for 32-bit Windows, the shipping target. Its programs run under the 64-bit Wine
# loader through the emulator wrapper (see WineEmulator.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUILLMARK_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
