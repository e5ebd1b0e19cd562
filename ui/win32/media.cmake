# The Windows binding's media, included by ui/win32/CMakeLists.txt (needs WT_ROOT and WT_GEN_DIR,
# the native build's generated/ directory):
#   wt_win_media   pictures (WIC) and sounds (waveOut), with ui/media's Qt-free GIF and WAVE
#                  readers that check every file before the system sees it;
#   WT_WIN_RC      the executable's resource script (icon, version information, manifest), made
#                  from app/windows/wiring-trainer.rc with the paths of what it embeds.
add_library(wt_win_media STATIC
  ${WT_ROOT}/ui/win32/pictures.cpp
  ${WT_ROOT}/ui/win32/sound.cpp
  ${WT_ROOT}/ui/media/gif_info.cpp
  ${WT_ROOT}/ui/media/wave.cpp)
target_include_directories(wt_win_media PUBLIC ${WT_ROOT})
target_link_libraries(wt_win_media PUBLIC windowscodecs ole32 uuid winmm gdi32 msimg32)

if(NOT CMAKE_RC_COMPILER_LOADED)
  enable_language(RC)
endif()
# The icon is packed by the native build (target icopack, tools/icopack).
set(WT_WIN_ICO ${WT_GEN_DIR}/assets/icon/wiring-trainer.ico)
if(NOT EXISTS ${WT_WIN_ICO})
  message(FATAL_ERROR "${WT_WIN_ICO} is missing: build the target icopack in the native build")
endif()
set(WT_WIN_MANIFEST ${WT_ROOT}/app/windows/wiring-trainer.manifest)
if(NOT DEFINED WT_VERSION)
  set(WT_VERSION 1.0.0)  # as packaging/CMakeLists.txt
endif()
set(WT_VERSION_DOTS ${WT_VERSION}.0)
string(REPLACE "." "," WT_VERSION_COMMAS ${WT_VERSION_DOTS})
set(WT_WIN_RC ${CMAKE_CURRENT_BINARY_DIR}/wiring-trainer.rc)
configure_file(${WT_ROOT}/app/windows/wiring-trainer.rc ${WT_WIN_RC} @ONLY)
# windres reads these while compiling; CMake's scan does not see them.
set_source_files_properties(${WT_WIN_RC} PROPERTIES OBJECT_DEPENDS "${WT_WIN_ICO};${WT_WIN_MANIFEST}")
