; The lab box (preset 288): a sawtooth from the DAC0832, one step up every 1 ms of the 8253's
; counter 1, from 0 to 255 and over again.
        org 100h
        mov ax, 1000
        call start_counter1
        xor al, al
        mov dx, DAC_PORT
step:   out dx, al
        call wait_period
        inc al
        jmp step

%include "labbox.inc"
