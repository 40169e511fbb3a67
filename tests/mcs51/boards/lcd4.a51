; The same two lines on the pz board's LCD1602 through its 4-bit interface (DB7-DB4 on
; P0.7-P0.4): one 8-bit write of 20h switches the interface, then every instruction, character
; and read of the busy flag goes as two nibbles, the high one first.
	.org	0
	mov	sp, #60h
	mov	p2, #1fh
	acall	ready
	clr	p2.6
	clr	p2.5
	mov	p0, #20h
	setb	p2.7
	clr	p2.7
	mov	a, #28h
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
; The high nibble, then the low one, each on P0.7-P0.4 with P0.3-P0.0 left high.
write:	clr	p2.5
	push	acc
	orl	a, #0fh
	mov	p0, a
	setb	p2.7
	clr	p2.7
	pop	acc
	swap	a
	orl	a, #0fh
	mov	p0, a
	setb	p2.7
	clr	p2.7
	ret
; Waits while the busy flag reads 1: the high nibble (BF and AC6-AC4), then the low one.
ready:	push	acc
	mov	p0, #0ffh
	clr	p2.6
	setb	p2.5
busy:	setb	p2.7
	mov	a, p0
	clr	p2.7
	setb	p2.7
	clr	p2.7
	jb	acc.7, busy
	pop	acc
	ret
first:	.db	"Hello, Korvane!", 0
second:	.db	"8051 LCD1602", 0
