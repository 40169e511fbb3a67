; Counts for ever: a program that only a pause or a stop ends.
        org     100h
start:  inc     ax
        jmp     start
