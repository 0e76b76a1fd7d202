/* header */
/* board */

#include <stdlib.hch>

// A formal that is no channel: a variable that nothing sets, with a warning.
macro proc repeat (n, out)
{
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

int 32 n;
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	repeat (n, out);
}
