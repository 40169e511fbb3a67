; A DOS tool as an MZ program with a header of its own: prints its command tail and ends with
; the first digit in it as its exit code ("3 hello.asm;" ends with 3), or 0.
image_size equ 32 + 256     ; the header and the code, padded
bits 16
section header start=0
    db 'MZ'
    dw image_size % 512
    dw (image_size + 511) / 512
    dw 0                ; relocations
    dw 2                ; header paragraphs
    dw 0x1000           ; minimum extra paragraphs
    dw 0xFFFF           ; maximum extra paragraphs
    dw 0, 0xFFFE        ; SS:SP
    dw 0                ; checksum
    dw 0, 0             ; CS:IP
    dw 0x1C, 0          ; relocation table, overlay
    times 32 - ($ - $$) db 0
section code follows=header vstart=0
    push cs
    pop ds
    mov dx, banner
    mov ah, 9
    int 21h
    ; The command tail (ES is the PSP): print it, and take its first digit as the exit code.
    xor ch, ch
    mov cl, [es:0x80]
    mov si, 0x81
    mov bl, 0
.next:
    jcxz .done
    mov dl, [es:si]
    cmp dl, '0'
    jb .print
    cmp dl, '9'
    ja .print
    test bl, bl
    jnz .print
    mov bl, dl
    sub bl, '0' - 0x80   ; marks a digit found
.print:
    mov ah, 2
    int 21h
    inc si
    dec cx
    jmp .next
.done:
    mov dx, crlf
    mov ah, 9
    int 21h
    mov al, bl
    and al, 0x7F
    mov ah, 0x4C
    int 21h
banner db 'dos tool ran:$'
crlf db 13, 10, '$'
    times 256 - ($ - $$) db 0

