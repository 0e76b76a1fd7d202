/* header */
/* board */

#include <stdlib.hch>

// Abbreviations of an element: each use is written as the element.
macro proc p (out)
{
	int 32 a[4];
	chan int 32 cs[2];
	int 32 k;

	k = 1;
	par
	{
		cs[(unsigned 1)(k <- 1)] ! 3;
		seq
		{
			cs[(unsigned 1)(k <- 1)] ? a[(unsigned 2)(k <- 2)];
			out ! a[(unsigned 2)(k <- 2)];
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (out);
}
