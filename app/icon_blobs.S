/* The program icon, one PNG per size, embedded from the icon generator's output
   (@WT_ICON_DIR@). wt_icon_table lists (start, end) pairs and ends with a (0, 0) pair. CMake
   configures this file and re-assembles it whenever one of the pictures changes. */

    .section .rodata

    .macro icon size
    .balign 4
wt_icon_\size:
    .incbin "@WT_ICON_DIR@/icon_\size\().png"
wt_icon_\size\()_end:
    .endm

@WT_ICON_BLOBS@
    /* Addresses need relocating in a position-independent program. */
    .section .data.rel.ro
    .balign 8
    .globl wt_icon_table
    .type wt_icon_table, @object
wt_icon_table:
@WT_ICON_ENTRIES@
    .quad 0, 0
    .size wt_icon_table, . - wt_icon_table

    .section .note.GNU-stack,"",@progbits
