# The media files of the constant area, in Role order (resources/media.h), as the asset
# generators name them. Included by resources/media.cmake and by the browser and Windows
# projects (ui/cross_core.cmake), whose blob files embed the same files.
set(WT_MEDIA_FILES
  switch_closed.png switch_open.png switch_close.wav switch_open.wav
  contactor_released.png contactor_pulled_in.png motor_at_rest.png
  motor_forward.gif motor_reverse.gif
  start1.wav start2.wav stop1.wav stop2.wav)
