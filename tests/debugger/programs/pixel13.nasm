; Mode 13h for the step back in the window: a pixel through A000h and its colour through the
; DAC's ports.
        org     100h
start:  mov     ax, 0013h
        int     10h
        mov     ax, 0A000h
        mov     es, ax
        mov     byte [es:0], 4
        mov     dx, 3C8h
        mov     al, 4
        out     dx, al
        inc     dx
        mov     al, 3Fh
        out     dx, al
        out     dx, al
        out     dx, al
        mov     ax, 4C00h
        int     21h
