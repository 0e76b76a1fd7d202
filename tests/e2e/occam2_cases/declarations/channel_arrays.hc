/* header */
/* board */

#include <stdlib.hch>

// An array of channels, indexed by a variable and by a constant.
macro proc relay (out)
{
	chan int 32 cs[4];
	int 32 k, x, y;

	k = 2;
	par
	{
		cs[(unsigned 2)(k <- 2)] ! 5;
		seq
		{
			cs[(unsigned 2)(k <- 2)] ? x;
			cs[3] ! x;
		}
		seq
		{
			cs[3] ? y;
			out ! y;
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	relay (out);
}
