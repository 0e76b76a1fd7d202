/* header */
/* board */

#include <stdlib.hch>

// A replicated ALT of constant bounds: one alternative per copy, the index a constant.
macro proc main_ (out)
{
	chan int 32 c[3];
	int 32 x;

	par
	{
		c[1] ! 5;
		prialt
		{
			case c[0] ? x:
				out ! x + 0;
				break;
			case c[1] ? x:
				out ! x + 1;
				break;
			case c[2] ? x:
				out ! x + 2;
				break;
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
