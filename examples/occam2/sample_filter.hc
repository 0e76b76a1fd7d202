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



/*  A producer, a filter and a consumer, written as occam 2 procedures. */



/*  The producer counts through the samples; the filter passes on, scaled, */



/*  those above a threshold, and gives a key pressed on the keyboard the */



/*  first turn (PRI ALT): 'q' or 'Q' stops it; the consumer shows a mark */



/*  on the screen for each value and keeps the last one. */

macro expr samples = (64);

macro expr threshold = (16);

macro expr mark = ('#');

macro expr scaled (x) = (x * 3);

macro proc producer (out)
{
int n;

n = 0;
while (n < samples)
{
out ! n;
n = n + 1;

}  /* while */
}  /* producer */

macro proc filter (keys, in_, out)
{
int running;

int key;

int x;

running = TRUE;
while (running)
{
prialt
{

keys ? key:
case (key)
{
'q':
'Q':
{
running = FALSE;
}
default:
{
skip;
}
}

in_ ? x:
if (x > threshold)
{
out ! scaled (x);

}  /* if */
else if (TRUE)
{
skip;

}  /* if */

}  /* prialt */

}  /* while */
}  /* filter */

macro proc consumer (in_, scr)
{
int count, last, v;

par
{
count = 0;
last = 0;
}  /* par */
while (TRUE)
{
in_ ? v;
par
{
count = count + 1;
last = v;
}  /* par */
scr ! mark;

}  /* while */
}  /* consumer */



/*  The program: the last procedure, with the keyboard and screen channels. */

macro proc main_ (kyb, scr)
{
chan raw, passed;

par
{
producer (raw);
filter (kyb, raw, passed);
consumer (passed, scr);
}  /* par */
}  /* main_ */

void main(void)
{
chan kyb;

chan scr;

main_ (kyb, scr);


}  /* main */
