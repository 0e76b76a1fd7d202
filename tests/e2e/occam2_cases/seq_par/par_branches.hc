/* header */
/* board */

#include <stdlib.hch>

// A SEQ as a branch of a PAR is a seq block; PRI PAR is a par as well.
macro proc main_ (a, b)
{
	par
	{
		a ! 1;
		seq
		{
			b ! 2;
			b ! 3;
		}
	}
	par
	{
		a ! 4;
		b ! 5;
	}
}

chanout int 32 a with {outfile = "a.dat"};
chanout int 32 b with {outfile = "b.dat"};

void main(void)
{
	main_ (a, b);
}
