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


/*  Two-input multiplexer with a credit guard. Values from both inputs are */



/*  merged onto one output; the right input may pass at most four values in */



/*  a row, after which it waits until the left input has been served. */


/* CONSTs area */

const TRUE = 1;
const FALSE = 0;

void main(void)
{
chan left, right, merged;

par
{
for (i = 0; i < 8; i = i + 1)
{
left ! i;
}  /* for */
for (i = 0; i < 8; i = i + 1)
{
right ! 100 + i;
}  /* for */
int v, credit;

{
credit = 4;
while (TRUE)
{
prialt
{

left ? v:
merged ! v;
credit = 4;

credit > 0 $ right ? v:

merged ! v;
credit = credit - 1;

}  /* prialt */

}  /* while */
}  /* seq */
int x, total;

{
total = 0;
while (TRUE)
{
merged ? x;
total = total + x;

}  /* while */
}  /* seq */
}  /* par */


}  /* main */
