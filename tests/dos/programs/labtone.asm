; The lab box (preset 288): the 8253's counter 0 in mode 3 on the speaker, 440 Hz for 200 ms,
; 880 Hz for 200 ms, then silent (mode 0 with no count holds OUT0 low).
        org 100h
        mov ax, 10000
        call start_counter1
        mov dx, PIT_CONTROL
        mov al, 36h             ; counter 0, LSB then MSB, mode 3, binary
        out dx, al
        mov dx, PIT_0
        mov ax, 2273            ; 1 MHz / 440
        out dx, al
        mov al, ah
        out dx, al
        mov cx, 20
.a:     call wait_period
        loop .a
        mov ax, 1136            ; 1 MHz / 880: the new count takes over at the half period's end
        out dx, al
        mov al, ah
        out dx, al
        mov cx, 20
.b:     call wait_period
        loop .b
        mov dx, PIT_CONTROL
        mov al, 30h             ; counter 0, mode 0: OUT0 low until a count comes
        out dx, al
forever:
        jmp forever

%include "labbox.inc"
