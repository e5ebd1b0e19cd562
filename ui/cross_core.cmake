# What the browser and Windows projects (ui/web, ui/win32) compile of the Qt-free core, included
# by both: every source of the exercises and of resources/ (picked up by directory, so new files
# come along by themselves), the generated sources, the model and what the entry points share,
# and the including project's blobs.S.in, configured and reassembled whenever a media file or
# the form resource changes. Needs WT_ROOT, WT_GEN_DIR, WT_ASSET_DIR and WT_FORMS_BIN; sets
# WT_CORE_SOURCES.
include(${WT_ROOT}/resources/media_files.cmake)
file(GLOB WT_CORE_LOGIC CONFIGURE_DEPENDS
  ${WT_ROOT}/exercises/*.cpp ${WT_ROOT}/exercises/*/*.cpp
  ${WT_ROOT}/resources/*.cpp)
file(GLOB WT_CORE_GENERATED CONFIGURE_DEPENDS ${WT_GEN_DIR}/*.cpp)

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/blobs.S.in ${CMAKE_CURRENT_BINARY_DIR}/blobs.S @ONLY)
list(TRANSFORM WT_MEDIA_FILES PREPEND ${WT_ASSET_DIR}/ OUTPUT_VARIABLE WT_MEDIA_PATHS)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/blobs.S PROPERTIES
  OBJECT_DEPENDS "${WT_MEDIA_PATHS};${WT_FORMS_BIN}")

set(WT_CORE_SOURCES
  ${WT_CORE_LOGIC} ${WT_CORE_GENERATED}
  ${WT_ROOT}/ui/ui.cpp
  ${WT_ROOT}/ui/focus.cpp
  ${WT_ROOT}/app/menu.cpp
  ${WT_ROOT}/app/program.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/blobs.S)
