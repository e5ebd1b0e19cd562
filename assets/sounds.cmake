# The six sounds, synthesised by wt_soundgen into ${WT_ASSET_DIR}. The generator rewrites a file
# only when its bytes change, so the stamp drives reruns and the WAVE files keep their times.
set(WT_SOUND_FILES
  switch_close.wav switch_open.wav start1.wav start2.wav stop1.wav stop2.wav)
list(TRANSFORM WT_SOUND_FILES PREPEND ${WT_ASSET_DIR}/ OUTPUT_VARIABLE WT_SOUND_PATHS)
add_custom_command(
  OUTPUT ${WT_GEN_DIR}/sounds.stamp
  BYPRODUCTS ${WT_SOUND_PATHS}
  COMMAND wt_soundgen --sounds ${WT_ASSET_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${WT_GEN_DIR}/sounds.stamp
  DEPENDS wt_soundgen
  COMMENT "Synthesising sounds"
  VERBATIM)
add_custom_target(wt_sounds DEPENDS ${WT_GEN_DIR}/sounds.stamp)
