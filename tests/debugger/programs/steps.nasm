; Calls, a repeated string move, a loop and a software interrupt of the program's own handler,
; for the kinds of step.
        org     100h
start:  mov     ax, 2560h
        mov     dx, handler
        int     21h
        call    sub1
        mov     cx, 3
        mov     si, source
        mov     di, target
        cld
        rep     movsb
        mov     cx, 4
again:  inc     bx
        loop    again
        int     60h
        mov     ax, 4C00h
        int     21h
sub1:   call    sub2
        ret
sub2:   nop
        ret
handler:
        inc     dx
        iret
source  db      'abc'
target  db      0, 0, 0
