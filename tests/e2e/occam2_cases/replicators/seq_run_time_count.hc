/* header */
/* board */

#include <stdlib.hch>

// A count known only at run time: taken once, and counted down.
macro proc main_ (in_, out)
{
	int 32 n;

	in_ ? n;
	{
		int 32 i, i_count;

		i = 0;
		i_count = n;
		while (i_count > 0)
		{
			out ! i;
			par
			{
				i = i + 1;
				i_count = i_count - 1;
			}
		}
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
