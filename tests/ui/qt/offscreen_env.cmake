# WT_QT_TEST_ENV: the environment of every test that shows widgets. The offscreen platform gets
# a 1920x1080 screen without frame margins, so a window's geometry is its client geometry.
set(WT_QT_TEST_DIR ${PROJECT_BINARY_DIR}/qt_test_env)
set(WT_OFFSCREEN_CONFIG ${WT_QT_TEST_DIR}/offscreen.json)
if(NOT EXISTS ${WT_OFFSCREEN_CONFIG})
  file(WRITE ${WT_OFFSCREEN_CONFIG} [[
{ "windowFrameMargins": false,
  "screens": [ { "name": "wt", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96 } ] }
]])
  file(MAKE_DIRECTORY ${WT_QT_TEST_DIR}/xdg-runtime)
  file(CHMOD ${WT_QT_TEST_DIR}/xdg-runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endif()
set(WT_QT_TEST_ENV
  "QT_QPA_PLATFORM=offscreen:configfile=${WT_OFFSCREEN_CONFIG}"
  "XDG_RUNTIME_DIR=${WT_QT_TEST_DIR}/xdg-runtime"
  "SDL_AUDIODRIVER=dummy")
# Under TSan, Qt's own threads are left out of the reports (see qt.tsan.supp).
if(WT_SANITIZE STREQUAL "thread")
  list(APPEND WT_QT_TEST_ENV
    "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${PROJECT_SOURCE_DIR}/tests/ui/qt/qt.tsan.supp")
endif()
