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

/* CONSTs area */

const TRUE = 1;
const FALSE = 0;



/*  Four lanes of a checksum unit, unrolled from one replicated PAR whose */



/*  count is a VAL constant. Each lane is a pipeline of three procedures */



/*  joined by channels of its own: a generator of the lane's words, a mixer */



/*  and an accumulator, which leaves the lane's checksum in the lane's own */



/*  element of an array. Handel-C has no arrays of channels in this */



/*  translation, so each lane declares its channels inside its procedure */



/*  rather than taking them from an array [lanes]CHAN INT. */

macro expr lanes = (4);

macro expr words = (32);

macro expr mixed (w, k) = ((w ^ (w << 3)) + k);

macro proc generator (lane, out)
{
for (i = 0; i < words; i = i + 1)
{
out ! (lane * words) + i;
}  /* for */
}  /* generator */

macro proc mixer (lane, in_, out)
{
int w;

for (i = 0; i < words; i = i + 1)
{
in_ ? w;
out ! mixed (w, lane);
}  /* for */
}  /* mixer */

macro proc accumulator (lane, in_, sums)
{
int sum, w;

sum = 0;
for (i = 0; i < words; i = i + 1)
{
in_ ? w;
sum = sum ^ w;
}  /* for */
sums[lane] = sum;
}  /* accumulator */

macro proc lane_unit (lane, sums)
{
chan words_out, mixed_out;

par
{
generator (lane, words_out);
mixer (lane, words_out, mixed_out);
accumulator (lane, mixed_out, sums);
}  /* par */
}  /* lane_unit */



/*  The program: all lanes at once, then the four checksums on the screen, */



/*  low byte first. */

macro proc checksums (scr)
{
ram sums[lanes];

i = 0;
par
{
lane_unit (i, sums);
}  /* par */
i = 1;
par
{
lane_unit (i, sums);
}  /* par */
i = 2;
par
{
lane_unit (i, sums);
}  /* par */
i = 3;
par
{
lane_unit (i, sums);
}  /* par */
for (i = 0; i < lanes; i = i + 1)
{
scr ! sums[i] & 0xFF;
scr ! (sums[i] >> 8) & 0xFF;
}  /* for */
}  /* checksums */

void main(void)
{
chan scr;

checksums (scr);


}  /* main */
