; String instructions: copy, fill, search and compare with REP prefixes.
org 100h
    cld
    mov si, source
    mov di, target
    mov cx, source_len
    rep movsb
    mov byte [di], '$'
    mov dx, target
    call print_string
    call newline
    mov di, target
    mov al, 'z'
    mov cx, 5
    rep stosb
    mov dx, target
    call print_string
    call newline
    mov di, source
    mov al, 'w'
    mov cx, source_len
    repne scasb
    mov ax, di
    sub ax, source
    call print_decimal
    mov ax, cx
    call print_decimal
    call newline
    mov si, source
    mov di, other
    mov cx, source_len
    repe cmpsb
    mov ax, cx
    call print_decimal
    mov ax, si
    sub ax, source
    call print_decimal
    call newline
    std
    mov si, source + source_len - 1
    mov di, target
    mov cx, source_len
.reverse:
    lodsb
    mov [di], al
    inc di
    loop .reverse
    cld
    mov byte [di], '$'
    mov dx, target
    call print_string
    call newline
    mov al, 0
    jmp exit
%include "print.inc"
source db 'hello, world'
source_len equ $ - source
other db 'hello, there'
target times 32 db 0
