/* header */
/* board */

#include <stdlib.hch>

// A constant count beyond 64 is counted down like one known at run time.
macro proc main_ (out)
{
	{
		int 32 i, i_count;

		i = 0;
		i_count = 100;
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

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
