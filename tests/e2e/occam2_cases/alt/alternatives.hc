/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (a, b, out)
{
	int 32 x;

	while (1)
	{
		prialt
		{
			case a ? x:
				out ! x;
				break;
			case b ? x:
				out ! x + 100;
				break;
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
