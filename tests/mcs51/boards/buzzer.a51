; The pz board's passive buzzer (P1.5) at 2000 Hz: Timer 0 in mode 2 interrupts every 250
; machine cycles and the routine inverts the pin, a period every 500 us.
	.org	0
	ljmp	start
	.org	0bh
	cpl	p1.5
	reti
start:	mov	tmod, #02h
	mov	th0, #06h
	mov	tl0, #06h
	mov	ie, #82h
	setb	tr0
here:	sjmp	here
