/* header */
/* board */

#include <stdlib.hch>

// A SKIP guard is always ready: the default of the prialt.
macro proc main_ (a, out)
{
	int 32 x;

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

chanin int 32 a with {infile = "a.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (a, out);
}
