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


/*  Four-tap moving-sum filter. The last four samples are kept in a small */



/*  register file; each new sample shifts the older ones along, and the sum */



/*  of all four taps is sent on. */


/* CONSTs area */

const TRUE = 1;
const FALSE = 0;

void main(void)
{
chan samples, sums;

ram taps[4];

int sample, sum;

for (i = 0; i < 4; i = i + 1)
{
taps[i] = 0;
}  /* for */
while (TRUE)
{
samples ? sample;
for (i = 1; i < (1) + (3); i = i + 1)
{
taps[4 - i] = taps[3 - i];
}  /* for */
taps[0] = sample;
sum = 0;
for (i = 0; i < 4; i = i + 1)
{
sum = sum + taps[i];
}  /* for */
sums ! sum;

}  /* while */


}  /* main */
