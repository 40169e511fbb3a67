; Two lines on the pz board's LCD1602 (data on P0, RS = P2.6, RW = P2.5, E = P2.7) in the
; 8-bit interface, each instruction and character written once the busy flag has fallen.
	.org	0
	mov	sp, #60h
	mov	p2, #1fh
	mov	a, #38h
	acall	command
	mov	a, #0ch
	acall	command
	mov	a, #06h
	acall	command
	mov	a, #01h
	acall	command
	mov	dptr, #first
	acall	text
	mov	a, #0c0h
	acall	command
	mov	dptr, #second
	acall	text
here:	sjmp	here
; Writes the text at DPTR up to its zero byte.
text:	clr	a
	movc	a, @a+dptr
	jz	ended
	acall	char
	inc	dptr
	sjmp	text
ended:	ret
command:	acall	ready
	clr	p2.6
	sjmp	write
char:	acall	ready
	setb	p2.6
write:	clr	p2.5
	mov	p0, a
	setb	p2.7
	clr	p2.7
	ret
; Waits while the busy flag (DB7) reads 1.
ready:	push	acc
	mov	p0, #0ffh
	clr	p2.6
	setb	p2.5
busy:	setb	p2.7
	mov	a, p0
	clr	p2.7
	jb	acc.7, busy
	pop	acc
	ret
first:	.db	"Hello, Korvane!", 0
second:	.db	"8051 LCD1602", 0
