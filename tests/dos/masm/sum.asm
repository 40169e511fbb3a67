; A textbook exercise with procedures and 80186 instructions: the sum, the largest element
; and the average of an array, printed in decimal.
        .186
data    segment
table   dw 12, 345, 6789, 1011, 1213, 1415, 17, 19, 2021, 2223
count   equ ($ - table) / 2
label1  db 'sum=$'
label2  db ' max=$'
label3  db ' avg=$'
crlf    db 0dh, 0ah, '$'
data    ends

stack   segment stack
        dw 256 dup (?)
stack   ends

code    segment
        assume cs:code, ds:data, ss:stack
start:  mov ax, data
        mov ds, ax
        call total
        push ax
        mov dx, offset label1
        call show
        call largest
        mov dx, offset label2
        call show
        pop ax
        xor dx, dx
        mov bx, count
        div bx
        mov dx, offset label3
        call show
        mov dx, offset crlf
        mov ah, 9
        int 21h
        mov ax, 4c00h
        int 21h

total   proc near
        pusha
        xor ax, ax
        mov cx, count
        mov si, offset table
next:   add ax, [si]
        add si, 2
        loop next
        mov bp, sp
        mov [bp + 14], ax       ; the saved AX of PUSHA
        popa
        ret
total   endp

largest proc near
        push si
        push cx
        mov si, offset table
        mov cx, count - 1
        mov ax, [si]
again:  add si, 2
        cmp ax, [si]
        jae keep
        mov ax, [si]
keep:   loop again
        pop cx
        pop si
        ret
largest endp

; DX = label, AX = number: prints both.
show    proc near
        push ax
        mov ah, 9
        int 21h
        pop ax
        push ax
        mov bx, 10
        xor cx, cx
divide: xor dx, dx
        div bx
        push dx
        inc cx
        or ax, ax
        jnz divide
emit:   pop dx
        add dl, '0'
        mov ah, 2
        int 21h
        loop emit
        pop ax
        shl ax, 1
        ret
show    endp
code    ends
        end start
