; Nested interrupts of two priorities: Timer 0's routine (low priority) runs long, Timer 1
; (high priority) interrupts it; a low request waits while the high routine runs. R7 counts
; Timer 1's routines, R5 those that came inside Timer 0's, R6 Timer 0's; R4 counts Timer 0
; requests found pending when Timer 1's routine ends.
; s51 0.6.4 also starts a timer a cycle early: it counts the cycle of the SETB TRx that starts
; it (and not that of the CLR TRx that stops it), where the data sheet writes the run bit at the
; end of the instruction, so a timer counts from the cycle after.
; compare: SP R5 R6
; cycles: s51+28 (s51 enters each routine one cycle sooner than Intel's three cycles from
; the request to the routine's first instruction, so its high-priority routines come at
; other points of the low one: it counts one Timer 1 routine and one pending request less)
	.org 0
	ljmp	start
	.org	0bh
	ljmp	low
	.org	1bh
	ljmp	high
low:	setb	20h.0
	mov	r3, #200
lw:	djnz	r3, lw
	inc	r6
	clr	20h.0
	reti
high:	inc	r7
	jnb	20h.0, h1
	inc	r5
h1:	jnb	tf0, h2
	inc	r4
h2:	reti
start:	mov	sp, #40h
	mov	20h, #0
	mov	r4, #0
	mov	r5, #0
	mov	r6, #0
	mov	r7, #0
	mov	tmod, #22h
	mov	th0, #6
	mov	tl0, #6
	mov	th1, #9ch
	mov	tl1, #9ch
	mov	ip, #08h
	mov	ie, #8ah
	setb	tr0
	setb	tr1
wait:	cjne	r6, #4, wait
	clr	ea
	mov	b, r7
here:	sjmp	here
