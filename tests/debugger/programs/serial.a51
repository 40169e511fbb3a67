; Sends "HI" through the serial port from a subroutine, adds 5+4+3+2+1 in a loop into 30h,
; then waits for a byte, keeps it in 31h and ends in a jump to itself.
        .org    0
start:  mov     sp, #60h
        mov     tmod, #20h
        mov     th1, #0fdh
        setb    tr1
        mov     scon, #50h
        mov     a, #'H'
        lcall   send
        mov     a, #'I'
        lcall   send
        mov     r7, #5
        clr     a
loop:   add     a, r7
        djnz    r7, loop
        mov     30h, a
        jnb     ri, *
        mov     31h, sbuf
        clr     ri
here:   sjmp    here

send:   mov     sbuf, a
        jnb     ti, *
        clr     ti
        ret
        .end
