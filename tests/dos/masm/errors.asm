; A program with the mistakes students make: an undefined symbol, a wrong operand, a missing
; ENDP; MASM names each with its line.
code    segment
        assume cs:code
start:  mov ax, foo
        mov ds, 5
        mov al, 300
work    proc
        ret
code    ends
        end start
