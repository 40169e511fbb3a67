; The lab box (preset 288): the ADC0809's input 0 converted over and over and shown in hex
; on the digits; each conversion is given a few displays' time (well over 100 us).
        org 100h
        mov dx, PPI_CONTROL
        mov al, 82h
        out dx, al
        xor bl, bl
convert:
        mov dx, ADC_PORT
        out dx, al              ; starts input 0
        mov al, bl
        call show_bcd
        mov dx, ADC_PORT
        in al, dx
        mov bl, al
        jmp convert

%include "labbox.inc"
