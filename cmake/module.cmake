# The module: its code as one object library (shared with the unit tests) and
# the loadable file kelto.p built from it.

add_library(kelto_objects OBJECT
  channel/distance_evaluation.cpp
  channel/distance_instance.cpp
  channel/held_services.cpp
  channel/item_list.cpp
  channel/item_renumbering.cpp
  module/descriptor_export.cpp
  module/handler_entry.cpp
  module/interface_entry.cpp
  panel/reference_panel.cpp
  persist/instance_block.cpp
  persist/token.cpp
)
target_include_directories(kelto_objects PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(kelto_objects PRIVATE -fno-exceptions -fno-rtti -fvisibility=hidden)
set_target_properties(kelto_objects PROPERTIES POSITION_INDEPENDENT_CODE ON)

add_library(kelto MODULE $<TARGET_OBJECTS:kelto_objects>)
set_target_properties(kelto PROPERTIES PREFIX "" OUTPUT_NAME kelto SUFFIX ".p")

if(WIN32)
  # The def file names the library "kelto.p" and exports the descriptor alone;
  # the static runtime leaves only DLLs that Windows ships as imports.
  target_sources(kelto PRIVATE module/library_entry_windows.cpp module/kelto.def)
  target_compile_options(kelto PRIVATE -fno-exceptions -fno-rtti)
  target_link_options(kelto PRIVATE -static -static-libgcc -static-libstdc++ -s)
else()
  target_link_options(kelto PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/module/exports.map)
  set_property(TARGET kelto APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/module/exports.map)
  target_link_libraries(kelto PRIVATE m)
  if(NOT KELTO_SANITIZE)
    # Sanitizer runtimes come from the loading program, so only a plain build
    # can insist that every symbol resolves.
    target_link_options(kelto PRIVATE -Wl,--no-undefined)
  endif()
endif()
