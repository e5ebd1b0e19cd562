# wt_media: the constant area. Media files are embedded as MediaBlobs by media_blobs.S (.incbin
# from ${WT_ASSET_DIR}); the text constants are generated as GBK from texts.txt.
set(WT_MEDIA_FILES
  switch_closed.png switch_open.png switch_close.wav switch_open.wav
  contactor_released.png contactor_pulled_in.png motor_at_rest.png
  motor_forward.gif motor_reverse.gif
  start1.wav start2.wav stop1.wav stop2.wav)
list(TRANSFORM WT_MEDIA_FILES PREPEND ${WT_ASSET_DIR}/ OUTPUT_VARIABLE WT_MEDIA_PATHS)

# The pictures come from the picture generator; without it, stand-ins of the same names,
# formats and sizes let the rest of the program build and run.
if(TARGET wt_assets)
  set(WT_MEDIA_PICTURES wt_assets)
else()
  set(WT_PLACEHOLDER_FILES
    switch_closed.png switch_open.png contactor_released.png contactor_pulled_in.png
    motor_at_rest.png motor_forward.gif motor_reverse.gif)
  list(TRANSFORM WT_PLACEHOLDER_FILES PREPEND ${WT_ASSET_DIR}/)
  add_custom_command(
    OUTPUT ${WT_GEN_DIR}/placeholders.stamp
    BYPRODUCTS ${WT_PLACEHOLDER_FILES}
    COMMAND wt_soundgen --placeholders ${WT_ASSET_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${WT_GEN_DIR}/placeholders.stamp
    DEPENDS wt_soundgen
    COMMENT "Writing placeholder pictures"
    VERBATIM)
  add_custom_target(wt_media_placeholders DEPENDS ${WT_GEN_DIR}/placeholders.stamp)
  set(WT_MEDIA_PICTURES wt_media_placeholders)
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/media_blobs.S ${WT_GEN_DIR}/media_blobs.S @ONLY)
# .incbin is invisible to the compiler's dependency scan: name the files explicitly.
set_source_files_properties(${WT_GEN_DIR}/media_blobs.S PROPERTIES OBJECT_DEPENDS "${WT_MEDIA_PATHS}")

add_custom_command(
  OUTPUT ${WT_GEN_DIR}/media_texts.cpp
  COMMAND wt_textgen ${CMAKE_CURRENT_LIST_DIR}/texts.txt ${WT_GEN_DIR}/media_texts.cpp
  DEPENDS wt_textgen ${CMAKE_CURRENT_LIST_DIR}/texts.txt
  COMMENT "Generating GBK text constants"
  VERBATIM)

add_library(wt_media STATIC ${CMAKE_CURRENT_LIST_DIR}/media.cpp ${WT_GEN_DIR}/media_blobs.S ${WT_GEN_DIR}/media_texts.cpp)
target_include_directories(wt_media PUBLIC ${PROJECT_SOURCE_DIR})
add_dependencies(wt_media wt_sounds ${WT_MEDIA_PICTURES})
