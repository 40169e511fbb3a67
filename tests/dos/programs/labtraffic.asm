; The lab box (preset 288): the traffic lights on PC0-PC5, each phase timed by the 8253's
; counter 1 (10 ms periods): south-north green 300 ms, yellow 100 ms, then east-west the same.
        org 100h
        mov dx, PPI_CONTROL
        mov al, 82h
        out dx, al
        mov ax, 10000
        call start_counter1
cycle:  mov si, phases
.phase: lodsb
        or al, al
        jz cycle
        mov dx, PPI_C
        out dx, al
        lodsb
        xor cx, cx
        mov cl, al
.wait:  call wait_period
        loop .wait
        jmp .phase

; The lights (PC0-2 south-north red, yellow, green; PC3-5 east-west) and the periods they last.
phases: db 0Ch, 30, 0Ah, 10, 21h, 30, 11h, 10, 0

%include "labbox.inc"
