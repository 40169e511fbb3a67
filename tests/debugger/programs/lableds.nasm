; The lab box (preset 288): the switches on port B shown on the LEDs of port A, for ever.
        org 100h
        mov dx, 28Bh
        mov al, 82h             ; mode 0: A out, B in, C out
        out dx, al
again:  mov dx, 289h
        in al, dx
        mov dx, 288h
        out dx, al
        jmp again
