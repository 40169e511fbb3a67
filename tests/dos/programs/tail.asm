; A .COM that prints its command tail, the names COMMAND.COM parsed into its two FCBs, and
; ends with the first digit of the tail as its return code.
org 100h
    mov dl, '['
    mov ah, 2
    int 21h
    xor cx, cx
    mov cl, [80h]
    mov si, 81h
    xor bl, bl
.next:
    jcxz .done
    lodsb
    cmp al, '0'
    jb .print
    cmp al, '9'
    ja .print
    test bl, bl
    jnz .print
    mov bl, al
.print:
    mov dl, al
    mov ah, 2
    int 21h
    dec cx
    jmp .next
.done:
    mov dl, ']'
    int 21h
    call newline
    mov si, 5Ch
    call print_fcb
    mov si, 6Ch
    call print_fcb
    call newline
    mov al, bl
    sub al, '0'
    jnc .code
    xor al, al
.code:
    jmp exit
print_fcb:                  ; SI = FCB: drive, then 11 name bytes
    lodsb
    xor ah, ah
    call print_hex
    mov cx, 11
.byte:
    lodsb
    mov dl, al
    mov ah, 2
    int 21h
    loop .byte
    mov dl, ' '
    int 21h
    ret
%include "print.inc"
