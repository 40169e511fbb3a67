; Timer 0 interrupts counted over a known time: mode 2 reloads every 200 machine cycles,
; the routine counts in R7, the main loop counts its rounds in R6 until the 20th.
; compare: SP R7
; cycles: s51+2 (s51 calls the routine one cycle sooner than Intel's three cycles
; from the overflow to the routine's first instruction)
	.org 0
	ljmp	start
	.org	0bh
	inc	r7
	reti
start:	mov	sp, #40h
	mov	r6, #0
	mov	r7, #0
	mov	tmod, #02h
	mov	th0, #38h
	mov	tl0, #38h
	mov	ie, #82h
	setb	tr0
loop:	inc	r6
	cjne	r7, #20, loop
	clr	ea
	clr	tr0
	mov	a, r6
	mov	b, tl0
here:	sjmp	here
