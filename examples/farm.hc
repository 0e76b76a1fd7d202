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


/*  Processor farm: a distributor hands out jobs, three identical workers */



/*  (unrolled from one replicated PAR) square them, and a collector adds up */



/*  the results. */


/* CONSTs area */

const TRUE = 1;
const FALSE = 0;

void main(void)
{
chan jobs, results;

int total;

par
{
for (n = 0; n < 3; n = n + 1)
{
jobs ! n + 1;
}  /* for */
w = 0;
par
{
int job;

{
jobs ? job;
results ! job * job;
}  /* seq */
}  /* par */
w = 1;
par
{
int job;

{
jobs ? job;
results ! job * job;
}  /* seq */
}  /* par */
w = 2;
par
{
int job;

{
jobs ? job;
results ! job * job;
}  /* seq */
}  /* par */
{
total = 0;
for (n = 0; n < 3; n = n + 1)
{
int r;

results ? r;
total = total + r;
}  /* for */
}  /* seq */
}  /* par */


}  /* main */
