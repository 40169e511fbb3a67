; The lab box (preset 288): each press of the pulse key (the 8259's IR0, its INT on IRQ 3)
; runs the handler on vector 0Bh, which counts in BCD; the count shows on the digits.
        org 100h
        mov ax, 250Bh           ; the handler on INT 0Bh
        mov dx, handler
        int 21h
        mov dx, PPI_CONTROL
        mov al, 82h
        out dx, al
        mov dx, PIC_EVEN
        mov al, 13h             ; ICW1: edge, single, ICW4 follows
        out dx, al
        mov dx, PIC_ODD
        mov al, 08h             ; ICW2: vectors from 08h
        out dx, al
        mov al, 01h             ; ICW4: 8086
        out dx, al
        mov al, 0FEh            ; OCW1: IR0 alone
        out dx, al
        in al, 21h              ; the PC's own controller lets IRQ 3 through
        and al, 0F7h
        out 21h, al
        sti
show:   mov al, [count]
        call show_bcd
        jmp show

handler:
        push ax
        push dx
        mov al, [cs:count]
        add al, 1
        daa
        mov [cs:count], al
        mov dx, PIC_EVEN
        mov al, 20h             ; EOI to the box's 8259 and to the PC's
        out dx, al
        out 20h, al
        pop dx
        pop ax
        iret

count:  db 0

%include "labbox.inc"
