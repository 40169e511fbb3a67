; leds.a51 in as31's syntax: the bytes korvane-asm51 makes of leds.a51.
	.equ	count, 8
	.equ	delays, 3
	.equ	step, 30h
	.flag	ledon, 20h.0
	.equ	buffer, 40h
	.equ	counter, 44h
	.org	0
	ljmp	main
	.org	30h
main:	mov	sp, #buffer+10h
	mov	psw, #08h
	mov	a, #0feh
	mov	r7, #count
	setb	ledon
	mov	step, #1
loop:	mov	p1, a
	lcall	delay
	rl	a
	djnz	r7, loop
	mov	dptr, #text
	mov	r6, #0
sum:	clr	a
	movc	a, @a+dptr
	jz	done
	add	a, r6
	mov	r6, a
	inc	dptr
	sjmp	sum
done:	mov	counter, r6
	mov	b, #text/256
	mov	r5, #text&255
	mov	r4, #12
	push	0fh
	pop	acc
here:	sjmp	here
delay:	mov	r2, #delays
d1:	mov	r3, #6
d2:	djnz	r3, d2
	djnz	r2, d1
	ret
text:	.byte	"It's 8051", 13, 10, 0
	.word	text, 1234h, 4142h
