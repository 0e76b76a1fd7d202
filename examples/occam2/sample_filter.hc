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

#include <stdlib.hch>

// A producer, a filter and a consumer, written as occam 2 procedures.
// The producer counts through the samples; the filter passes on, scaled,
// those above a threshold, and gives a key pressed on the keyboard the
// first turn (PRI ALT): 'q' or 'Q' stops it; the consumer shows a mark
// on the screen for each value and keeps the last one.
macro expr samples = 64;
macro expr threshold = 16;
macro expr mark = '#';
macro expr scaled (x) = (x * 3);

macro proc producer (out)
{
	int 32 n;

	n = 0;
	while (n < samples)
	{
		out ! n;
		n = n + 1;
	}
}

macro proc filter (keys, in_, out)
{
	unsigned 1 running;
	unsigned 8 key;
	int 32 x;

	running = 1;
	while (running)
	{
		prialt
		{
			case keys ? key:
				switch (key)
				{
					case 'q':
					case 'Q':
						running = 0;
						break;
					default:
						delay;
						break;
				}
				break;
			case in_ ? x:
				if (x > threshold)
				{
					out ! scaled (x);
				}
				else
				{
					delay;
				}
				break;
		}
	}
}

macro proc consumer (in_, scr)
{
	int 32 count, last, v;

	par
	{
		count = 0;
		last = 0;
	}
	while (1)
	{
		in_ ? v;
		par
		{
			count = count + 1;
			last = v;
		}
		scr ! mark;
	}
}

// The program: the last procedure, with the keyboard and screen channels.
macro proc main_ (kyb, scr)
{
	chan int 32 raw, passed;

	par
	{
		producer (raw);
		filter (kyb, raw, passed);
		consumer (passed, scr);
	}
}

chanin unsigned 8 kyb with {infile = "kyb.dat"};
chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	main_ (kyb, scr);
}
