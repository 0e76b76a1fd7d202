/* header */
/* board */

#include <stdlib.hch>

// A procedure declared in each copy of a replicated PAR, using the index:
// the index is handed in as the INT it stands for.
macro proc set_ (a, i)
{
	a[(unsigned 2)(i <- 2)] = i;
}

macro proc main_ (out)
{
	int 32 a[4];

	{
		unsigned 3 i;

		par (i = 0; i < 4; i++)
		{
			set_ (a, (int 32)adju(i, 32));
		}
	}
	out ! a[2];
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
