; The same two lines written without a look at the busy flag: the LCD is still busy with one
; instruction or character when the next comes, and loses it, as the chip does.
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
command:	nop
	clr	p2.6
	sjmp	write
char:	nop
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
