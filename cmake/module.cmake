# The two modules, Kelto (kelto.p) and Kelto Focus (kelto_focus.p): each one's
# code as an object library per flavour (the unit tests and fuzzers link it
# too) and the loadable file built from each.
#
# A flavour is the set of channel protocols a build serves: "classic" serves
# version 4 alone (the 32-bit DLL), "current" serves version 5 as well (the
# 64-bit DLL). KELTO_FLAVOUR picks one, which is then kelto.p and
# kelto_focus.p, or "both", the native build's default, for the classic
# kelto.p and kelto_focus.p and the current current/kelto.p and
# current/kelto_focus.p.
set(KELTO_FLAVOUR both CACHE STRING
  "Module flavour: classic (protocol version 4) or current (versions 4 and 5) as kelto.p, or both: classic kelto.p and current current/kelto.p")
set_property(CACHE KELTO_FLAVOUR PROPERTY STRINGS classic current both)

# What both modifiers are made of: the item lists and walks, resolution and
# renumbering, the block's line reading and writing, the reference popups and
# the panel builder, the held services and the adapters of the protocols.
set(KELTO_SHARED_PARTS
  channel/held_services.cpp
  channel/item_list.cpp
  channel/item_name.cpp
  channel/item_references.cpp
  channel/item_renumbering.cpp
  module/handler_activation.cpp
  module/interface_activation.cpp
  module/descriptor_fields.cpp
  module/protocols.cpp
  panel/reference_popups.cpp
  panel/toolkit_panel.cpp
  persist/block_keywords.cpp
  persist/line_writer.cpp
  persist/reference_lines.cpp
  persist/token.cpp
)
# Kelto's parts, which the unit tests and the faulty test modules link
# without the module's descriptor.
set(KELTO_MODULE_PARTS
  ${KELTO_SHARED_PARTS}
  channel/distance_evaluation.cpp
  channel/distance_instance.cpp
  module/handler_entry.cpp
  module/interface_entry.cpp
  panel/reference_panel.cpp
  persist/instance_block.cpp
)
# The one symbol the host reads from the module file.
set(KELTO_MODULE_DESCRIPTOR_EXPORT module/descriptor_export.cpp)

# Kelto Focus's parts, without its descriptor, and its descriptor: all in focus/.
set(KELTO_FOCUS_MODULE_PARTS
  ${KELTO_SHARED_PARTS}
  focus/focus_block.cpp
  focus/focus_handler_entry.cpp
  focus/focus_instance.cpp
  focus/focus_interface_entry.cpp
  focus/focus_panel.cpp
  focus/focus_settings.cpp
  focus/focus_value.cpp
  focus/number_lines.cpp
)
set(KELTO_FOCUS_DESCRIPTOR_EXPORT focus/focus_descriptor_export.cpp)

# The module's files optimised as one, so that the small functions an
# evaluation calls across them (the held services, the resolution check)
# reach it inlined. Sanitizer and fuzzing builds keep plain objects.
include(CheckIPOSupported)
set(KELTO_MODULE_LTO OFF)
if(NOT KELTO_SANITIZE AND NOT KELTO_FUZZ)
  check_ipo_supported(RESULT KELTO_MODULE_LTO OUTPUT lto_output LANGUAGES CXX)
endif()

# One module file, NAME.p in output_dir, from its parts and descriptor; on
# Windows def_file names the DLL and exports the descriptor alone.
function(kelto_add_module_file target name flavour output_dir parts descriptor def_file)
  add_library(${target}_objects OBJECT ${parts} ${descriptor})
  target_include_directories(${target}_objects PUBLIC ${PROJECT_SOURCE_DIR})
  # errno is never read here, so a square root needs no call to set it.
  target_compile_options(${target}_objects PRIVATE -fno-exceptions -fno-rtti -fvisibility=hidden -fno-math-errno)
  set_target_properties(${target}_objects PROPERTIES POSITION_INDEPENDENT_CODE ON)
  set_target_properties(${target}_objects PROPERTIES INTERPROCEDURAL_OPTIMIZATION ${KELTO_MODULE_LTO})
  if(flavour STREQUAL "current")
    target_compile_definitions(${target}_objects PUBLIC KELTO_SERVES_CURRENT_PROTOCOL)
  endif()

  add_library(${target} MODULE $<TARGET_OBJECTS:${target}_objects>)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX ".p"
    LIBRARY_OUTPUT_DIRECTORY ${output_dir} RUNTIME_OUTPUT_DIRECTORY ${output_dir}
    INTERPROCEDURAL_OPTIMIZATION ${KELTO_MODULE_LTO})

  if(WIN32)
    # The def file names the library "NAME.p" and exports the descriptor alone;
    # the static runtime leaves only DLLs that Windows ships as imports.
    target_sources(${target} PRIVATE module/library_entry_windows.cpp ${def_file})
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

# Both modules of one flavour: kelto.p as `target`, kelto_focus.p as
# `focus_target`, side by side in output_dir.
function(kelto_add_module target focus_target flavour output_dir)
  kelto_add_module_file(${target} kelto ${flavour} ${output_dir}
    "${KELTO_MODULE_PARTS}" ${KELTO_MODULE_DESCRIPTOR_EXPORT} module/kelto.def)
  kelto_add_module_file(${focus_target} kelto_focus ${flavour} ${output_dir}
    "${KELTO_FOCUS_MODULE_PARTS}" ${KELTO_FOCUS_DESCRIPTOR_EXPORT} focus/kelto_focus.def)
endfunction()

# The module targets of each protocol set built, empty for one not built:
# KELTO_CLASSIC_MODULE and KELTO_CURRENT_MODULE (kelto.p),
# KELTO_FOCUS_CLASSIC_MODULE and KELTO_FOCUS_CURRENT_MODULE (kelto_focus.p).
# The targets kelto and kelto_focus are always the files beside the simulated
# host.
if(KELTO_FLAVOUR STREQUAL "classic")
  kelto_add_module(kelto kelto_focus classic ${CMAKE_BINARY_DIR})
  set(KELTO_CLASSIC_MODULE kelto)
  set(KELTO_CURRENT_MODULE "")
  set(KELTO_FOCUS_CLASSIC_MODULE kelto_focus)
  set(KELTO_FOCUS_CURRENT_MODULE "")
elseif(KELTO_FLAVOUR STREQUAL "current")
  kelto_add_module(kelto kelto_focus current ${CMAKE_BINARY_DIR})
  set(KELTO_CLASSIC_MODULE "")
  set(KELTO_CURRENT_MODULE kelto)
  set(KELTO_FOCUS_CLASSIC_MODULE "")
  set(KELTO_FOCUS_CURRENT_MODULE kelto_focus)
elseif(KELTO_FLAVOUR STREQUAL "both")
  kelto_add_module(kelto kelto_focus classic ${CMAKE_BINARY_DIR})
  kelto_add_module(kelto_current kelto_focus_current current ${CMAKE_BINARY_DIR}/current)
  set(KELTO_CLASSIC_MODULE kelto)
  set(KELTO_CURRENT_MODULE kelto_current)
  set(KELTO_FOCUS_CLASSIC_MODULE kelto_focus)
  set(KELTO_FOCUS_CURRENT_MODULE kelto_focus_current)
else()
  message(FATAL_ERROR "KELTO_FLAVOUR is classic, current or both, not \"${KELTO_FLAVOUR}\"")
endif()
