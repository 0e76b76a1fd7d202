/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	unsigned 1 a, b;

	par
	{
		a = 1;
		b = 0;
	}
	out ! (a && b) || (!a);
}

chanout unsigned 1 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
