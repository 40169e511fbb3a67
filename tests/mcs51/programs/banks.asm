; The register banks: RS1 and RS0 select where R0-R7 are, whether the PSW is written
; whole (MOV, POP) or one bit at a time (SETB, CLR, CPL, MOV bit,C). Results in bank 0.
; s51 0.6.4 follows only whole writes of PSW: after SETB RS0 its Rn still reach bank 0, so
; its registers here are wrong and the values the data sheet gives are checked instead.
; compare: B SP
; expect: A=10 R0=10 R1=0F R2=1F R5=10 R6=AA R7=55
; cycles: s51
	.org 0
	mov	psw, #0
	mov	r0, #0aah
	mov	psw, #08h
	mov	r0, #55h
	mov	psw, #0
	mov	r6, 00h
	mov	r7, 08h
	setb	rs0
	mov	r0, #07h
	setb	rs1
	mov	r0, #18h
	clr	rs0
	mov	r0, #1fh
	cpl	rs0
	cpl	rs1
	mov	r0, #10h
	setb	c
	mov	rs1, c
	mov	r0, #0fh
	mov	psw, #0
	mov	r0, 08h
	mov	r1, 18h
	mov	r2, 10h
	mov	r5, 08h
	mov	a, r5
	mov	b, #0
here:	sjmp	here
