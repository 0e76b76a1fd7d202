/* header */
/* board */

#include <stdlib.hch>

// An open array indexed at run time: its index width follows from its size,
// known only where the procedure is used.
macro proc total (v, v_size, v_width, sum)
{
	sum = 0;
	{
		int 32 i, i_count;

		i = 0;
		i_count = v_size;
		while (i_count > 0)
		{
			sum = sum + v[(unsigned v_width)(i <- v_width)];
			par
			{
				i = i + 1;
				i_count = i_count - 1;
			}
		}
	}
}

macro proc main_ (out)
{
	int 32 a[4];
	int 32 s;

	{
		unsigned 3 i;

		seq (i = 0; i < 4; i++)
		{
			a[(i <- 2)] = (int 32)adju(i, 32);
		}
	}
	total (a, 4, 2, s);
	out ! s;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
