/* header */
/* board */

#include <stdlib.hch>

unsigned 32 vrk_clock;
unsigned 1 vrk_done;

// A TIMER formal is left out: every timer is the clock counter.
macro proc pause (ticks)
{
	int 32 now;

	now = (int 32)vrk_clock;
	while ((int 32)(vrk_clock - (unsigned 32)(now + ticks)) < 0) delay;
}

macro proc main_ (out)
{
	pause (10);
	out ! 1;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	par
	{
		while (!vrk_done)
		{
			vrk_clock = vrk_clock + 1;
		}
		seq
		{
			main_ (out);
			vrk_done = 1;
		}
	}
}
