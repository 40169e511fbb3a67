; Each mode the BIOS sets, and what it left: the BIOS data area's video bytes, the DAC (the
; 16-colour modes load 64 entries and leave the rest as mode 13h set them), the attribute
; controller, the sequencer (the reset register aside), graphics controller and CRTC (the
; cursor's shape aside, which text mode 3 scales to its character height in DOSBox), misc
; output, INT 10h 0Fh's answer and the font pointer call's height and rows.
org 100h
    mov si, modes
.mode:
    lodsb
    cmp al, 0FFh
    je .done
    xor ah, ah
    int 10h
    push si
    push ds
    mov ax, 40h
    mov ds, ax
    mov si, 49h
    mov cx, 1Eh
    call out_bytes
    mov si, 84h
    mov cx, 4
    call out_bytes
    pop ds
    mov al, 0
    mov cx, 256
    call out_dac
    call out_attributes
    mov dx, 3C4h
    mov bl, 1
    mov cx, 4
    call out_indexed
    mov dx, 3CEh
    mov bl, 0
    mov cx, 9
    call out_indexed
    mov dx, 3D4h
    mov cx, 0Ah
    call out_indexed
    mov bl, 0Ch
    mov cx, 0Dh
    call out_indexed
    mov dx, 3CCh
    in al, dx
    call out_byte
    mov ah, 0Fh
    int 10h
    call out_byte
    mov al, ah
    call out_byte
    mov al, bh
    call out_byte
    mov ax, 1130h
    mov bh, 0
    int 10h
    mov al, cl
    call out_byte
    mov al, dl
    call out_byte
    pop si
    jmp .mode
.done:
    jmp finish

modes: db 13h, 12h, 10h, 0Eh, 0Dh, 06h, 05h, 04h, 03h, 0FFh
out_name: db 'VMODES.VID', 0
%include "video.inc"
