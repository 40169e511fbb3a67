; A running light on P1 in ASM51 syntax: an include, EQU, DATA and BIT names, absolute data
; and code segments with DS, USING and the bank's ARn, a generic CALL to a later routine and
; a generic JMP back to itself, numbers in binary and hexadecimal, MOD, SHL, HIGH and LOW, a
; text with a doubled quote and its checksum, DW. leds.asm is the same program for as31.
; expect: B=00 SP=50 R4=0C R5=6D R6=5C R7=00
$INCLUDE(leds.inc)
STEP	DATA	30H
LEDON	BIT	20H.0
	DSEG	AT 40H
BUFFER:	DS	4
COUNTER: DS	1
	CSEG	AT 0
	LJMP	MAIN
	ORG	30H
	USING	1
MAIN:	MOV	SP,#BUFFER+10H
	MOV	PSW,#00001000B
	MOV	A,#11111110B
	MOV	R7,#COUNT
	SETB	LEDON
	MOV	STEP,#1
LOOP:	MOV	P1,A
	CALL	DELAY
	RL	A
	DJNZ	R7,LOOP
	MOV	DPTR,#TEXT
	MOV	R6,#0
SUM:	CLR	A
	MOVC	A,@A+DPTR
	JZ	DONE
	ADD	A,R6
	MOV	R6,A
	INC	DPTR
	SJMP	SUM
DONE:	MOV	COUNTER,R6
	MOV	B,#HIGH(TEXT)
	MOV	R5,#LOW TEXT
	MOV	R4,#TEXT_LEN
	PUSH	AR7
	POP	ACC
HERE:	JMP	$
DELAY:	MOV	R2,#DELAYS
D1:	MOV	R3,#(10 MOD 7) SHL 1
D2:	DJNZ	R3,D2
	DJNZ	R2,D1
	RET
TEXT:	DB	'It''s 8051',0DH,0AH,0
TEXT_END:
TEXT_LEN EQU	TEXT_END-TEXT
WORDS:	DW	TEXT,1234H,'AB'
	END
