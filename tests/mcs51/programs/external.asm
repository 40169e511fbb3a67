; External interrupts from the program's own pins: INT0 on falling edges (IT0 = 1), INT1 on
; its low level (IT1 = 0), the level released inside the routine.
; s51 0.6.4 keeps a level-triggered request after the pin went high in the routine and calls
; it a second time; the data sheet's INT1 follows its pin, so the routine runs once.
; compare: SP R5 R7
; expect: R6=01 B=03
; cycles: s51-2
	.org 0
	ljmp	start
	.org	03h
	inc	r7
	reti
	.org	13h
	inc	r6
	setb	p3.3
	reti
start:	mov	sp, #40h
	mov	r5, #0
	mov	r6, #0
	mov	r7, #0
	setb	it0
	clr	it1
	mov	ie, #85h
	clr	p3.2
	nop
	nop
	setb	p3.2
	nop
	clr	p3.2
	nop
	nop
	setb	p3.2
	clr	p3.3
	nop
	nop
	nop
	mov	r5, tcon
	clr	ea
	mov	a, r7
	add	a, r6
	mov	b, a
here:	sjmp	here
