; The lab box (preset 288): a two-digit decimal counter on the multiplexed digits, one more
; every 100 ms of the 8253's counter 1 (10 ms periods, watched without waiting).
        org 100h
        mov dx, PPI_CONTROL
        mov al, 82h
        out dx, al
        mov ax, 10000
        call start_counter1
        call read_counter1
        mov [last], ax
        xor bl, bl              ; the count, BCD
        xor bh, bh              ; periods of this count
show:   mov al, bl
        call show_bcd
        call read_counter1
        cmp ax, [last]
        mov [last], ax
        jbe show
        inc bh
        cmp bh, 10
        jb show
        xor bh, bh
        mov al, bl
        add al, 1
        daa
        mov bl, al
        jmp show

last:   dw 0

%include "labbox.inc"
