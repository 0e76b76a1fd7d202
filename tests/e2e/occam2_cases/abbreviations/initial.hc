/* header */
/* board */

#include <stdlib.hch>

macro proc p (out)
{
	int 32 x;

	x = 5;
	x = x + 1;
	out ! x;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (out);
}
