; serial51.a51 in as31's syntax: the bytes korvane-asm51 makes of serial51.a51.
	.equ	reload, 0f3h
	.equ	saved, 60h
	.equ	store, 0100h
	.org	0
	ljmp	start
send:	mov	sbuf, a
wait:	jnb	ti, wait
	clr	ti
	ret
start:	mov	scon, #50h
	mov	tmod, #20h
	mov	th1, #reload
	mov	tl1, #reload
	setb	tr1
	mov	r0, #saved
	mov	r7, #4
	mov	a, #'0'
next:	acall	send
	mov	@r0, a
	inc	r0
	inc	a
	djnz	r7, next
	mov	a, #5ah
	acall	send
	mov	a, #0f0h
	mov	dptr, #store
	movx	@dptr, a
	clr	a
	movx	a, @dptr
	mov	c, acc.7
	mov	f0, c
	mov	r6, #5
	mov	b, #4
here:	sjmp	here
