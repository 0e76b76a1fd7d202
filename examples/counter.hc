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


/*  Modulo-10 up/down counter. The current count is shown on the display */



/*  channel; each command then moves it one step up (1) or down (2), wrapping */



/*  round at both ends. Any other command leaves the count alone. */


/* CONSTs area */

const TRUE = 1;
const FALSE = 0;

void main(void)
{
chan control, display;

int count, command;

count = 0;
while (TRUE)
{
display ! count;
control ? command;
if (command == 1)
{
count = (count + 1) mod 10;

}  /* if */
else if (command == 2)
{
if (count == 0)
{
count = 9;

}  /* if */
else if (TRUE)
{
count = count - 1;

}  /* if */
}  /* if */
else if (TRUE)
{
skip;

}  /* if */
}  /* while */


}  /* main */
