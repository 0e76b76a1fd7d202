/* header */
/* board */

#include <stdlib.hch>

// The alternatives of a nested ALT join the outer one.
macro proc main_ (a, b, c, out)
{
	int 32 x;

	prialt
	{
		case a ? x:
			out ! x;
			break;
		case b ? x:
			out ! x;
			break;
		case c ? x:
			out ! x;
			break;
	}
}

chanin int 32 a with {infile = "a.dat"};
chanin int 32 b with {infile = "b.dat"};
chanin int 32 c with {infile = "c.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (a, b, c, out);
}
