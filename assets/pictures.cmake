# Pictures and animations: drawn by assetgen into ${WT_ASSET_DIR}.
#
# Each command writes a stamp file as its output and lists the pictures as byproducts: assetgen
# rewrites a picture only when its bytes change, so a rebuild of assetgen that draws the same
# pictures leaves them (and everything that embeds them) untouched.
set(WT_PICTURE_FILES
  menu_background.png terminal.png button_green.png button_red.png
  switch_open.png switch_closed.png contactor_released.png contactor_pulled_in.png
  motor_at_rest.png relay.png fuse.png motor_forward.gif motor_reverse.gif)
set(WT_EXERCISE_NAMES continuous_run jog continuous_jog forward_reverse double_interlock multi_location)
set(WT_EXERCISE_WINDOWS ContinuousRunExercise JogExercise ContinuousJogExercise
  ForwardReverseExercise DoubleInterlockExercise MultiLocationExercise)
foreach(name IN LISTS WT_EXERCISE_NAMES)
  list(APPEND WT_PICTURE_FILES schematic_${name}.png)
endforeach()
list(TRANSFORM WT_PICTURE_FILES PREPEND ${WT_ASSET_DIR}/ OUTPUT_VARIABLE WT_PICTURE_PATHS)

set(WT_PICTURE_STAMP ${CMAKE_CURRENT_BINARY_DIR}/pictures.stamp)
add_custom_command(
  OUTPUT ${WT_PICTURE_STAMP}
  BYPRODUCTS ${WT_PICTURE_PATHS}
  COMMAND $<TARGET_FILE:assetgen> --pictures ${WT_ASSET_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${WT_PICTURE_STAMP}
  DEPENDS assetgen
  COMMENT "Drawing pictures and motor animations"
  VERBATIM)
set(WT_ASSET_STAMPS ${WT_PICTURE_STAMP})
set(WT_DIAGRAM_PATHS)

foreach(name window IN ZIP_LISTS WT_EXERCISE_NAMES WT_EXERCISE_WINDOWS)
  set(form ${PROJECT_SOURCE_DIR}/resources/forms/${window}.form)
  set(out ${WT_ASSET_DIR}/diagram_${name}.png)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/diagram_${name}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    BYPRODUCTS ${out}
    COMMAND $<TARGET_FILE:assetgen> --diagram ${form} ${out}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS assetgen ${form}
    COMMENT "Drawing diagram_${name}.png from ${window}.form"
    VERBATIM)
  list(APPEND WT_ASSET_STAMPS ${stamp})
  list(APPEND WT_DIAGRAM_PATHS ${out})
endforeach()

add_custom_target(wt_assets ALL DEPENDS ${WT_ASSET_STAMPS})
# Every generated picture, for targets that embed them (add_dependencies on wt_assets as well).
set(WT_ASSET_PICTURES ${WT_PICTURE_PATHS} ${WT_DIAGRAM_PATHS})
set_property(TARGET wt_assets PROPERTY WT_FILES ${WT_ASSET_PICTURES})

# Documentation sheets (docs/media), refreshed by hand: cmake --build <dir> --target wt_contact_sheet
add_custom_target(wt_contact_sheet
  COMMAND $<TARGET_FILE:assetgen> --contact-sheet ${PROJECT_SOURCE_DIR}/docs/media
          --forms ${PROJECT_SOURCE_DIR}/resources/forms
  DEPENDS assetgen
  COMMENT "Writing the contact sheets into docs/media"
  VERBATIM)
