/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	{
		unsigned 3 i;

		seq (i = 1; i < 4; i++)
		{
			out ! (int 32)adju(i, 32);
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
