/* header */
/* board */

#include <stdlib.hch>

// A pipeline of four cells on an array of five channels.
macro expr cells = 4;

macro proc pipeline (in_, out)
{
	chan int 32 c[5];

	par
	{
		{
			int 32 v;

			while (1)
			{
				in_ ? v;
				c[0] ! v;
			}
		}
		{
			unsigned 3 i;

			par (i = 0; i < 4; i++)
			{
				int 32 x;

				while (1)
				{
					c[i] ? x;
					c[(unsigned 3)(((int 32)adju(i, 32) + 1) <- 3)] ! x + (int 32)adju(i, 32);
				}
			}
		}
		{
			int 32 w;

			while (1)
			{
				c[4] ? w;
				out ! w;
			}
		}
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	pipeline (in_, out);
}
