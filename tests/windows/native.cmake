# The Windows edition under wine (label windows): the desktop walks, run unchanged against
# build-win/wiring-trainer.exe (trainer.py starts a .exe with wine64), the differential test
# against the cross-compiled driver, the probe's walk through MSAA and the keyboard, and the
# installer. Built by ./windows.sh into build-win/; every test skips itself (77) when that or
# wine is missing. Walks in one wine prefix must not overlap: they are spread over three
# prefixes (lanes a, b and c, a RESOURCE_LOCK each), so that ctest -j2 runs two at a time; the
# installer makes fresh prefixes of its own.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(WT_WIN_DIR ${PROJECT_SOURCE_DIR}/build-win)
set(WT_WIN_ENV
  "WT_TRAINER=${WT_WIN_DIR}/wiring-trainer.exe"
  "WT_WIN_DIR=${WT_WIN_DIR}"
  "WT_WMCLOSE=$<TARGET_FILE:wt_wmclose>"
  "WT_FORM_GEOMETRY=${WT_GEN_DIR}/form_geometry.json"
  "WT_DIFF_NATIVE=$<TARGET_FILE:web_diff_driver>"
  "WT_DIFF_EXE=${WT_WIN_DIR}/tests/diff_driver.exe"
  "PYTHONPATH=${CMAKE_CURRENT_LIST_DIR}:${PROJECT_SOURCE_DIR}/tests/e2e")
set(WT_WIN_TESTS  # name, script, wine prefix (lane), seconds it takes (ctest starts the longest)
  win_continuous_run e2e/test_e2e_continuous_run.py a 45
  win_access windows/test_win_access.py b 45
  win_installer windows/test_win_installer.py - 33
  win_jog e2e/test_e2e_jog.py c 21
  win_small_screens e2e/test_e2e_small_screens.py a 17
  win_diff web/test_web_diff.py b 11)
while(WT_WIN_TESTS)
  list(POP_FRONT WT_WIN_TESTS name script lane cost)
  add_test(NAME ${name} COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/${script})
  set_tests_properties(${name} PROPERTIES
    LABELS windows TIMEOUT 300 SKIP_RETURN_CODE 77 COST ${cost}
    ENVIRONMENT "${WT_WIN_ENV};WT_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix-${lane}")
  if(NOT lane STREQUAL "-")
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_prefix_${lane})
  endif()
endwhile()
# The media side's table: WIC decoding and compositing against the native decoders' figures,
# scaling, several sounds at once, GBK against iconv's results.
add_test(NAME win_media COMMAND /bin/sh -c
  "[ -f \"$1\" ] && [ -x /usr/lib/wine/wine64 ] || exit 77; WINEPREFIX=\"$2\" WINEDEBUG=-all /usr/lib/wine/wine64 \"$1\" \"$3\" \"$4\""
  media_test ${WT_WIN_DIR}/tests/media_test.exe ${CMAKE_BINARY_DIR}/wine-prefix-a
  ${WT_GEN_DIR}/assets ${PROJECT_SOURCE_DIR}/resources/texts.txt)
set_tests_properties(win_media PROPERTIES
  LABELS windows TIMEOUT 300 SKIP_RETURN_CODE 77 RESOURCE_LOCK wine_prefix_a)
