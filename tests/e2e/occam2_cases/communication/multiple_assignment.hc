/* header */
/* board */

#include <stdlib.hch>

// Every value is read before any is assigned: a swap in one cycle.
macro proc main_ (out)
{
	int 32 a, b;

	par
	{
		a = 1;
		b = 2;
	}
	par
	{
		a = b;
		b = a;
	}
	out ! a;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
