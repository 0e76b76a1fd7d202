/* header */
/* board */

#include <stdlib.hch>

// A protocol of two INTs: the items go in turn on one channel of INT.
macro proc main_ (out)
{
	chan int 32 c;
	int 32 a, b;

	par
	{
		seq
		{
			c ! 1;
			c ! 2;
		}
		seq
		{
			c ? a;
			c ? b;
			out ! a + b;
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
