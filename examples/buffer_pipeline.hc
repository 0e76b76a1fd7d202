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


/*  A three-stage pipeline: a producer counts, a buffer passes values on, */



/*  and a consumer adds them up. The stages run in parallel and talk over channels. */


/* CONSTs area */

const TRUE = 1;
const FALSE = 0;

void main(void)
{
chan source, sink;

par
{
int n;



/*  producer: sends 0 to 9 */

{
n = 0;
while (n < 10)
{
source ! n;
n = n + 1;

}  /* while */
}  /* seq */
int v;



/*  buffer: passes every value on */

while (TRUE)
{
source ? v;
sink ! v;

}  /* while */
int total, x;



/*  consumer: keeps a running total */

{
total = 0;
while (TRUE)
{
sink ? x;
total = total + x;

}  /* while */
}  /* seq */
}  /* par */


}  /* main */
