/* header */
/* board */

#include <stdlib.hch>

unsigned 32 vrk_clock;
unsigned 1 vrk_done;

// A timer is the clock counter: read it, then wait until 100 cycles later.
macro proc main_ (out)
{
	int 32 t;

	t = (int 32)vrk_clock;
	while ((int 32)(vrk_clock - (unsigned 32)(t + 100)) < 0) delay;
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
