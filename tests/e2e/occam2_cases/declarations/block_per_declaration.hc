/* header */
/* board */

#include <stdlib.hch>

// A declaration in the middle of a SEQ opens a block of its own.
macro proc p (out)
{
	int 32 x;

	x = 1;
	{
		int 32 y;

		y = x + 1;
		out ! y;
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (out);
}
