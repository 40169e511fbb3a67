; Timers 0 and 1 polled in modes 0 (13 bits), 1, 2 (reload) and 3 (TL0 and TH0 apart,
; TH0 taking TR1 and TF1), and Timer 1 as a counter of falling edges on T1 that the
; program makes itself.
; s51 0.6.4 sets the flag of a 13-bit count (mode 0) and of TH0 in mode 3 one count early, at
; the all-ones count rather than at the rollover to zero the data sheet gives, so the loops
; that wait for those flags end a round later here and the counts read after them differ.
; s51 0.6.4 also starts a timer a cycle early: it counts the cycle of the SETB TRx that starts
; it (and not that of the CLR TRx that stops it), where the data sheet writes the run bit at the
; end of the instruction, so a timer counts from the cycle after.
; Here the reload loop sees its third flag a round (two cycles) later, so TL0 reads two counts on.
; compare: A B PSW R1 R2 R6 R7
; expect: R0=03 R3=F8 R4=08 R5=04
; cycles: s51+6
	.org 0
	mov	tmod, #00h
	mov	th0, #0ffh
	mov	tl0, #0f0h
	setb	tr0
m0:	jnb	tf0, m0
	clr	tr0
	clr	tf0
	mov	r0, tl0
	mov	r1, th0
	mov	tmod, #02h
	mov	th0, #0f0h
	mov	tl0, #0f0h
	setb	tr0
	mov	r2, #0
m2:	jnb	tf0, m2
	clr	tf0
	inc	r2
	cjne	r2, #3, m2
	clr	tr0
	mov	r3, tl0
	mov	tmod, #03h
	mov	tl0, #0fch
	mov	th0, #0f8h
	setb	tr0
	setb	tr1
m3:	jnb	tf1, m3
	clr	tr0
	clr	tr1
	mov	r4, tl0
	mov	r5, th0
	mov	a, tcon
	mov	tcon, #0
	mov	tmod, #50h
	mov	th1, #0
	mov	tl1, #0fdh
	setb	tr1
	clr	p3.5
	setb	p3.5
	clr	p3.5
	setb	p3.5
	cpl	p3.5
	cpl	p3.5
	mov	r6, tl1
	mov	r7, tcon
	mov	b, th1
here:	sjmp	here
