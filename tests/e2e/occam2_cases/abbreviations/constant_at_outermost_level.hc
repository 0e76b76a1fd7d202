/* header */
/* board */

#include <stdlib.hch>

// Constants at the outermost level. A choice whose condition is a constant
// FALSE can never be taken and is left out; the TRUE choice is what remains.
macro expr n = 8;
macro expr debug = 0;

macro proc p (out)
{
	{
		out ! n;
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (out);
}
