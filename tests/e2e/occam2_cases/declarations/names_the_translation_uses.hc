/* header */
/* board */

#include <stdlib.hch>

unsigned 32 vrk_clock;
unsigned 1 vrk_done;

// Names of the program that the translation uses for itself are numbered.
macro proc main_ (in_, out)
{
	int 32 t, x, waiting, vrk_clock_1;

	t = (int 32)vrk_clock;
	par
	{
		waiting = 1;
		vrk_clock_1 = 2;
	}
	{
		unsigned 1 waiting_1;

		waiting_1 = 1;
		while (waiting_1)
		{
			prialt
			{
				case in_ ? x:
					waiting_1 = 0;
					out ! waiting;
					break;
				default:
					delay;
					if ((int 32)(vrk_clock - (unsigned 32)(t + 50)) >= 0)
					{
						waiting_1 = 0;
						out ! vrk_clock_1;
					}
					break;
			}
		}
	}
}

chanin int 32 in_ with {infile = "in.dat"};
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
			main_ (in_, out);
			vrk_done = 1;
		}
	}
}
