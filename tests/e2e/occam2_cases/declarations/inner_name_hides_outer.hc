/* header */
/* board */

#include <stdlib.hch>

// An inner x hides the outer one: it gets a name of its own.
macro proc p (out)
{
	int 32 x;

	x = 1;
	{
		int 32 x_1;

		x_1 = 2;
		out ! x_1;
	}
	out ! x;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (out);
}
