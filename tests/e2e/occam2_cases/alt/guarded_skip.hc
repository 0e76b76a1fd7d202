/* header */
/* board */

#include <stdlib.hch>

// A guarded SKIP is the default only while its guard is true.
macro proc main_ (a, out)
{
	unsigned 1 idle;
	int 32 x;

	idle = 1;
	if (idle)
	{
		prialt
		{
			case a ? x:
				out ! x;
				break;
			default:
				out ! 0;
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

chanin int 32 a with {infile = "a.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (a, out);
}
