; Lights a pattern on P1, sends "OK" through the serial port with another pattern on P2 between
; the two bytes, and ends in a jump to itself.
        .org    0
start:  mov     sp, #60h
        mov     tmod, #20h
        mov     th1, #0fdh
        setb    tr1
        mov     scon, #50h
        mov     p1, #0a5h
        mov     a, #'O'
        lcall   send
        mov     p2, #3ch
        mov     a, #'K'
        lcall   send
here:   sjmp    here

send:   mov     sbuf, a
        jnb     ti, *
        clr     ti
        ret
        .end
