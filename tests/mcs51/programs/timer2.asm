; The 8052's Timer 2: auto-reload from RCAP2 with TF2's interrupt, then as the serial port's
; baud rate generator (RCLK and TCLK, 9600 baud: RCAP2 = FFD9h).
; s51 0.6.4 also starts a timer a cycle early: it counts the cycle of the SETB TRx that starts
; it (and not that of the CLR TRx that stops it), where the data sheet writes the run bit at the
; end of the instruction, so a timer counts from the cycle after.
; cpu: 8052
; compare: B SP R7
; cycles: s51-74 (s51 enters each of the five routines a cycle sooner than Intel's three
; cycles from the request, and ends each frame clocked by Timer 2 about 20 cycles after the
; tenth rollover of the divide-by-16 counter, where the data sheet sets TI)
	.org 0
	ljmp	start
	.org	2bh
	clr	0cfh
	inc	r7
	reti
start:	mov	sp, #40h
	mov	r7, #0
	mov	0cbh, #0ffh
	mov	0cah, #0f0h
	mov	0cdh, #0ffh
	mov	0cch, #0f0h
	mov	ie, #0a0h
	setb	0cah
	mov	r6, #0
l:	inc	r6
	cjne	r7, #5, l
	clr	ea
	clr	0cah
	mov	b, 0cdh
	mov	0c8h, #0
	mov	scon, #50h
	mov	0cbh, #0ffh
	mov	0cah, #0d9h
	mov	0c8h, #34h
	mov	dptr, #text
n:	clr	a
	movc	a, @a+dptr
	jz	here
	mov	sbuf, a
w:	jnb	ti, w
	clr	ti
	inc	dptr
	sjmp	n
here:	sjmp	here
text:	.byte	"T2", 13, 10, 0
