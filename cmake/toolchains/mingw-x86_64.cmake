# Cross build for 64-bit Windows with the POSIX-threads flavour of mingw-w64 (GoogleTest needs
# std::mutex). Windows test programs run under Wine through the emulator wrapper.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLMARK_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
