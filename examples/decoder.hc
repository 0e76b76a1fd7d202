/*
 * Handel-C program produced by vrk, the occam to Handel-C translator.
 * This file is generated: change the occam source and translate it again.
 */

/* One clock drives every statement of the design. */
set clock = external "P1";

/*
 * Board header: harp2.
 * Board-specific declarations (device, pins, external memories) belong here.
 * To target another board, put its own header in msgs/harp2_h.txt.
 */
#define HARP2_DATA_WIDTH 32


/*  Seven-segment decoder: every digit that arrives on the digit channel is */



/*  turned into the pattern of segments that shows it (bit 0 lights segment */



/*  a, bit 6 segment g). Values outside 0 to 9 show the letter E. */


/* CONSTs area */

const TRUE = 1;
const FALSE = 0;

void main(void)
{
chan digit, segments;

int d, pattern;

while (TRUE)
{
digit ? d;
case (d)
{
0:
{
pattern = 0x3F;
}
1:
{
pattern = 0x06;
}2:
{
pattern = 0x5B;
}3:
{
pattern = 0x4F;
}4:
{
pattern = 0x66;
}5:
{
pattern = 0x6D;
}6:
{
pattern = 0x7D;
}7:
{
pattern = 0x07;
}8:
{
pattern = 0x7F;
}9:
{
pattern = 0x6F;
}
default:
{
pattern = 0x79;
}
}
segments ! pattern;

}  /* while */


}  /* main */
