; A DOS tool that never ends: it waits for nothing, forever.
org 100h
forever:
    jmp forever
