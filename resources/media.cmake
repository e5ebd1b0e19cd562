# wt_media: the constant area. Media files are embedded as MediaBlobs by media_blobs.S (.incbin
# from ${WT_ASSET_DIR}); the text constants are generated as GBK from texts.txt.
include(${CMAKE_CURRENT_LIST_DIR}/media_files.cmake)  # WT_MEDIA_FILES
list(TRANSFORM WT_MEDIA_FILES PREPEND ${WT_ASSET_DIR}/ OUTPUT_VARIABLE WT_MEDIA_PATHS)

set(WT_MEDIA_BLOBS_S ${CMAKE_CURRENT_BINARY_DIR}/media_blobs.S)
configure_file(${CMAKE_CURRENT_LIST_DIR}/media_blobs.S ${WT_MEDIA_BLOBS_S} @ONLY)
# .incbin is invisible to the compiler's dependency scan: name the files explicitly.
set_source_files_properties(${WT_MEDIA_BLOBS_S} PROPERTIES OBJECT_DEPENDS "${WT_MEDIA_PATHS}")

if(NOT WT_HOST_BUILD)
  add_custom_command(
    OUTPUT ${WT_GEN_DIR}/media_texts.cpp
    COMMAND wt_textgen ${CMAKE_CURRENT_LIST_DIR}/texts.txt ${WT_GEN_DIR}/media_texts.cpp
    DEPENDS wt_textgen ${CMAKE_CURRENT_LIST_DIR}/texts.txt
    COMMENT "Generating GBK text constants"
    VERBATIM)
endif()

add_library(wt_media STATIC ${CMAKE_CURRENT_LIST_DIR}/media.cpp ${WT_MEDIA_BLOBS_S} ${WT_GEN_DIR}/media_texts.cpp)
target_include_directories(wt_media PUBLIC ${PROJECT_SOURCE_DIR})
add_dependencies(wt_media wt_sounds wt_assets)
