# The module: its code as an object library per flavour (the classic one is
# shared with the unit tests) and the loadable file kelto.p built from each.
#
# A flavour is the set of channel protocols a build serves: "classic" serves
# version 4 alone (the 32-bit DLL), "current" serves version 5 as well (the
# 64-bit DLL). KELTO_FLAVOUR picks one, or "both" for the native build, which
# puts the current one in current/kelto.p.
set(KELTO_FLAVOUR both CACHE STRING "Module flavour: classic, current or both")
set_property(CACHE KELTO_FLAVOUR PROPERTY STRINGS classic current both)

set(KELTO_MODULE_SOURCES
  channel/distance_evaluation.cpp
  channel/distance_instance.cpp
  channel/held_services.cpp
  channel/item_list.cpp
  channel/item_renumbering.cpp
  module/descriptor_export.cpp
  module/handler_entry.cpp
  module/interface_entry.cpp
  module/protocols.cpp
  panel/reference_panel.cpp
  persist/instance_block.cpp
  persist/token.cpp
)

# The module's files optimised as one, so that the small functions an
# evaluation calls across them (the held services, the resolution check)
# reach it inlined. Sanitizer and fuzzing builds keep plain objects.
include(CheckIPOSupported)
set(KELTO_MODULE_LTO OFF)
if(NOT KELTO_SANITIZE AND NOT KELTO_FUZZ)
  check_ipo_supported(RESULT KELTO_MODULE_LTO OUTPUT lto_output LANGUAGES CXX)
endif()

function(kelto_add_module target flavour output_dir)
  add_library(${target}_objects OBJECT ${KELTO_MODULE_SOURCES})
  target_include_directories(${target}_objects PUBLIC ${PROJECT_SOURCE_DIR})
  # errno is never read here, so a square root needs no call to set it.
  target_compile_options(${target}_objects PRIVATE -fno-exceptions -fno-rtti -fvisibility=hidden -fno-math-errno)
  set_target_properties(${target}_objects PROPERTIES POSITION_INDEPENDENT_CODE ON)
  set_target_properties(${target}_objects PROPERTIES INTERPROCEDURAL_OPTIMIZATION ${KELTO_MODULE_LTO})
  if(flavour STREQUAL "current")
    target_compile_definitions(${target}_objects PUBLIC KELTO_SERVES_CURRENT_PROTOCOL)
  endif()

  add_library(${target} MODULE $<TARGET_OBJECTS:${target}_objects>)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME kelto SUFFIX ".p"
    LIBRARY_OUTPUT_DIRECTORY ${output_dir} RUNTIME_OUTPUT_DIRECTORY ${output_dir}
    INTERPROCEDURAL_OPTIMIZATION ${KELTO_MODULE_LTO})

  if(WIN32)
    # The def file names the library "kelto.p" and exports the descriptor alone;
    # the static runtime leaves only DLLs that Windows ships as imports.
    target_sources(${target} PRIVATE module/library_entry_windows.cpp module/kelto.def)
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -s)
  else()
    target_link_options(${target} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/module/exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/module/exports.map)
    target_link_libraries(${target} PRIVATE m)
    if(NOT KELTO_SANITIZE)
      # Sanitizer runtimes come from the loading program, so only a plain build
      # can insist that every symbol resolves.
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
  endif()
endfunction()

if(KELTO_FLAVOUR STREQUAL "current")
  kelto_add_module(kelto current ${CMAKE_BINARY_DIR})
elseif(KELTO_FLAVOUR STREQUAL "classic" OR KELTO_FLAVOUR STREQUAL "both")
  kelto_add_module(kelto classic ${CMAKE_BINARY_DIR})
else()
  message(FATAL_ERROR "KELTO_FLAVOUR is classic, current or both, not \"${KELTO_FLAVOUR}\"")
endif()
if(KELTO_FLAVOUR STREQUAL "both")
  kelto_add_module(kelto_current current ${CMAKE_BINARY_DIR}/current)
endif()
