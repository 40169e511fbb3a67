; Sleeps in HLT until the timer's ticks wake it twice, then ends with exit code 5.
        org     100h
start:  sti
        hlt
        hlt
        mov     ax, 4C05h
        int     21h
