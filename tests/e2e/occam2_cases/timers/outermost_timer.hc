/* header */
/* board */

#include <stdlib.hch>

unsigned 32 vrk_clock;
unsigned 1 vrk_done;

// A timer in processes at the outermost level: main counts the clock beside them.
int 32 t;

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
			t = (int 32)vrk_clock;
			while ((int 32)(vrk_clock - (unsigned 32)(t + 5)) < 0) delay;
			vrk_done = 1;
		}
	}
}
