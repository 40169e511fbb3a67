; A DOS tool as a tiny-model .COM program: prints its command tail and ends with exit code 0.
bits 16
org 100h
    mov dx, banner
    mov ah, 9
    int 21h
    xor ch, ch
    mov cl, [0x80]
    mov si, 0x81
.next:
    jcxz .done
    mov dl, [si]
    mov ah, 2
    int 21h
    inc si
    dec cx
    jmp .next
.done:
    mov dx, crlf
    mov ah, 9
    int 21h
    mov ax, 4C00h
    int 21h
banner db 'com tool ran:$'
crlf db 13, 10, '$'
