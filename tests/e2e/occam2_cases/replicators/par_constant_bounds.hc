/* header */
/* board */

#include <stdlib.hch>

// The index is as narrow as its values allow, converted where an INT is wanted.
macro proc main_ (out)
{
	int 32 a[4];

	{
		unsigned 3 i;

		par (i = 0; i < 4; i++)
		{
			a[(i <- 2)] = (int 32)adju(i, 32) * 2;
		}
	}
	out ! a[3];
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
