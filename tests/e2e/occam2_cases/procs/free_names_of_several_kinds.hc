/* header */
/* board */

#include <stdlib.hch>

// A nested procedure using a constant, a variable and a formal of the one
// around it: the constant stays a constant, the others become parameters.
macro expr step = 3;

macro proc add_step (total, base)
{
	total = (total + step) + base;
}

macro proc outer (out, base)
{
	int 32 total;

	total = 0;
	add_step (total, base);
	out ! total;
}

macro proc main_ (out)
{
	outer (out, 10);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
