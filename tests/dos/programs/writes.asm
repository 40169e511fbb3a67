; A file where the command tail names it: created, written, read back and deleted, each call's
; result printed ("ok", or "error N" and the end with N as the return code).
org 100h
start:
    mov si, 81h
.blank:
    cmp byte [si], ' '
    jne .named
    inc si
    jmp .blank
.named:
    mov [path], si
.end:
    cmp byte [si], 13
    je .cut
    inc si
    jmp .end
.cut:
    mov byte [si], 0
    mov ah, 3Ch
    xor cx, cx
    mov dx, [path]
    int 21h
    call report
    mov bx, ax
    mov ah, 40h
    mov cx, text_len
    mov dx, text
    int 21h
    call report
    mov ah, 3Eh
    int 21h
    call report
    mov ax, 3D00h
    mov dx, [path]
    int 21h
    call report
    mov bx, ax
    mov ah, 3Fh
    mov cx, 16
    mov dx, buffer
    int 21h
    call report
    mov ah, 3Eh
    int 21h
    call report
    mov ah, 41h
    mov dx, [path]
    int 21h
    call report
    mov si, buffer
    mov di, text
    mov cx, text_len
    repe cmpsb
    mov dx, same
    je .verdict
    mov dx, differs
.verdict:
    call print_string
    call newline
    mov al, 0
    jmp exit
report:                     ; CF and AX of the last call
    jc .failed
    push dx
    mov dx, ok
    call print_string
    pop dx
    ret
.failed:
    mov dx, error
    call print_string
    call print_decimal
    call newline
    jmp exit
%include "print.inc"
path dw 0
text db 'written'
text_len equ $ - text
ok db 'ok $'
error db 'error $'
same db 'same$'
differs db 'differs$'
buffer times 16 db 0
