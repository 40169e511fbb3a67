; The serial port's other modes: mode 0 (shift register, a bit a machine cycle), mode 2
; (fosc/64, SMOD doubling it) and mode 3 (Timer 1, SMOD = 1), with TB8 as the ninth bit.
; compare: A PSW SP R5 R6
; cycles: s51+39 (s51 ends a mode 0 byte two machine cycles after the instruction that wrote
; SBUF, where the data sheet sets TI at the start of the tenth cycle after it; and s51
; sends mode 2 at twice the data sheet's rate)
	.org 0
	mov	sp, #30h
	mov	scon, #00h
	mov	r7, #0
	mov	a, #'0'
	acall	send
	mov	a, #'1'
	acall	send
	mov	scon, #88h
	acall	send
	mov	pcon, #80h
	mov	a, #'2'
	acall	send
	mov	tmod, #20h
	mov	th1, #0fdh
	mov	tl1, #0fdh
	setb	tr1
	mov	scon, #0c0h
	mov	a, #'3'
	acall	send
	mov	r6, scon
	mov	r5, pcon
here:	sjmp	here
send:	mov	sbuf, a
sw:	inc	r7
	jnb	ti, sw
	clr	ti
	ret
