/* header */
/* board */

#include <stdlib.hch>

// One prialt for each combination of the guards; with none true the ALT stops.
macro proc main_ (a, b, out)
{
	unsigned 1 ga, gb;
	int 32 x;

	par
	{
		ga = 1;
		gb = 0;
	}
	if (ga)
	{
		if (gb)
		{
			prialt
			{
				case a ? x:
					out ! x;
					break;
				case b ? x:
					out ! x + 1;
					break;
			}
		}
		else
		{
			prialt
			{
				case a ? x:
					out ! x;
					break;
			}
		}
	}
	else
	{
		if (gb)
		{
			prialt
			{
				case b ? x:
					out ! x + 1;
					break;
			}
		}
		else
		{
			while (1) delay;
		}
	}
}

chanin int 32 a with {infile = "a.dat"};
chanin int 32 b with {infile = "b.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (a, b, out);
}
