# quillmark_widl(<target> <idl> [INCLUDES dir...] [LIBDIRS dir...] [DEPENDS file-or-target...])
# Compiles an IDL file with the cross toolchain's widl into a type library, a header and the
# identifier definitions, and makes <target> an object library carrying the identifiers and the
# generated header folder. <target>_TLB is set in the caller's scope to the type library path.
# DEPENDS names what the IDL imports (IDL files, type libraries and the targets making them).
function(quillmark_widl target idl)
  cmake_parse_arguments(ARG "" "" "INCLUDES;LIBDIRS;DEPENDS" ${ARGN})
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/widl)
  set(flags -I/usr/include/wine/wine/windows -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    list(APPEND flags --win32)
  else()
    list(APPEND flags --win64)
  endif()
  foreach(dir ${ARG_INCLUDES})
    list(APPEND flags -I${dir})
  endforeach()
  foreach(dir ${ARG_LIBDIRS})
    list(APPEND flags -L${dir})
  endforeach()
  add_custom_command(
    OUTPUT ${out}/${name}.tlb ${out}/${name}.h ${out}/${name}_i.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${QUILLMARK_WIDL} ${flags} -t -o ${out}/${name}.tlb ${idl_path}
    COMMAND ${QUILLMARK_WIDL} ${flags} -h -o ${out}/${name}.h ${idl_path}
    COMMAND ${QUILLMARK_WIDL} ${flags} -u -o ${out}/${name}_i.c ${idl_path}
    DEPENDS ${idl_path} ${ARG_DEPENDS}
    COMMENT "widl ${name}.idl"
    VERBATIM)
  add_library(${target} OBJECT ${out}/${name}_i.c ${out}/${name}.h ${out}/${name}.tlb)
  set_source_files_properties(${out}/${name}_i.c PROPERTIES LANGUAGE C)
  target_include_directories(${target} PUBLIC ${out})
  set(${target}_TLB ${out}/${name}.tlb PARENT_SCOPE)
  set(${target}_DIR ${out} PARENT_SCOPE)
endfunction()
