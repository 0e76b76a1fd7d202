/* header */
/* board */

#include <stdlib.hch>

// SKIP is nothing among other statements (a PAR left with one branch is that
// branch), and delay where a statement must stand.
macro proc main_ (out)
{
	int 32 x;

	x = 0;
	out ! x;
	while (x > 0)
	{
		delay;
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
