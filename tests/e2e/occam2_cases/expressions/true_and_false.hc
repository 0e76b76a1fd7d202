/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	unsigned 1 b;

	b = 1;
	out ! b;
	out ! 0;
	while (b)
	{
		b = 0;
	}
}

chanout unsigned 1 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
