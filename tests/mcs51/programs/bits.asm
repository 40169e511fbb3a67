; Bit addressing: RAM bits (20h-2Fh) and SFR bits, SETB, CLR, CPL, MOV to and from C,
; ANL and ORL with C and the complement, JB, JNB and JBC.
; compare: A B PSW R0 R1 R2 R3 R4 R5 R6 R7
; cycles: s51
	.org 0
	mov	20h, #0
	mov	2fh, #0ffh
	setb	00h
	setb	07h
	cpl	01h
	clr	7fh
	cpl	7eh
	mov	r0, 20h
	mov	r1, 2fh
	mov	a, #0
	setb	acc.3
	cpl	acc.7
	mov	c, acc.3
	mov	b.0, c
	clr	c
	orl	c, acc.7
	anl	c, /acc.0
	mov	b.5, c
	cpl	c
	orl	c, /b.5
	anl	c, b.0
	mov	f0, c
	mov	r2, psw
	mov	r3, b
	mov	r4, #0
	jb	acc.3, j1
	inc	r4
j1:	jnb	acc.2, j2
	inc	r4
j2:	jbc	acc.7, j3
	inc	r4
j3:	jbc	acc.7, j4
	mov	r5, a
j4:	jb	00h, j5
	inc	r4
j5:	jnb	7fh, j6
	inc	r4
j6:	mov	r6, 2fh
	clr	c
	cpl	c
	mov	r7, psw
here:	sjmp	here
