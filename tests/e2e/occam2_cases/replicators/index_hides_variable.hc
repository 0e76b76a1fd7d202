/* header */
/* board */

#include <stdlib.hch>

// A replicator index that hides a variable of the same name.
macro proc main_ (out)
{
	int 32 i;

	i = 7;
	{
		unsigned 2 i_1;

		seq (i_1 = 0; i_1 < 2; i_1++)
		{
			out ! (int 32)adju(i_1, 32);
		}
	}
	out ! i;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
