/* The media files of the constant area, each stored as a MediaBlob: u32 marker 1, u32 length,
   then the file bytes. Every blob has a start and an end symbol, so the catalogue in media.cpp
   knows how much storage lies behind it. CMake configures this file with the asset directory
   (@WT_ASSET_DIR@) and re-assembles it whenever one of the files changes. */

    .section .rodata

    .macro blob name, file
    .balign 4
    .globl \name
    .globl \name\()_end
    .type \name, @object
\name:
    .long 1
    .long 2f - 1f
1:
    .incbin "@WT_ASSET_DIR@/\file"
2:
\name\()_end:
    .size \name, \name\()_end - \name
    .endm

    blob wt_media_switch_closed, switch_closed.png
    blob wt_media_switch_open, switch_open.png
    blob wt_media_switch_close_sound, switch_close.wav
    blob wt_media_switch_open_sound, switch_open.wav
    blob wt_media_contactor_released, contactor_released.png
    blob wt_media_contactor_pulled_in, contactor_pulled_in.png
    blob wt_media_motor_at_rest, motor_at_rest.png
    blob wt_media_motor_forward, motor_forward.gif
    blob wt_media_motor_reverse, motor_reverse.gif
    blob wt_media_start_sound1, start1.wav
    blob wt_media_start_sound2, start2.wav
    blob wt_media_stop_sound1, stop1.wav
    blob wt_media_stop_sound2, stop2.wav

    .section .note.GNU-stack,"",@progbits
