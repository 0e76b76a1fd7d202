/* header */
/* board */

#include <stdlib.hch>

unsigned 32 vrk_clock;
unsigned 1 vrk_done;

// An input or a time-out, whichever comes first.
macro proc main_ (in_, out)
{
	int 32 t, x;

	t = (int 32)vrk_clock;
	{
		unsigned 1 waiting;

		waiting = 1;
		while (waiting)
		{
			prialt
			{
				case in_ ? x:
					waiting = 0;
					out ! x;
					break;
				default:
					delay;
					if ((int 32)(vrk_clock - (unsigned 32)(t + 50)) >= 0)
					{
						waiting = 0;
						out ! 0;
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
