# nlohmann-json is header-only: json_headers exposes it to the Windows programs (the stand-in host
# and the check program) without the rest of the Linux headers.
set(json_include ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${json_include})
file(CREATE_LINK /usr/include/nlohmann ${json_include}/nlohmann SYMBOLIC)
add_library(json_headers INTERFACE)
target_include_directories(json_headers SYSTEM INTERFACE ${json_include})
