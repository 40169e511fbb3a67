; The lab box (preset 288): the switches on port B shown on the LEDs of port A, for ever.
        org 100h
PORTA   equ 288h
PORTB   equ 289h
CONTROL equ 28Bh

        mov dx, CONTROL
        mov al, 82h             ; mode 0: A out, B in, C out
        out dx, al
again:  mov dx, PORTB
        in al, dx
        mov dx, PORTA
        out dx, al
        jmp again
