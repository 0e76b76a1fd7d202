/* header */
/* board */

#include <stdlib.hch>

// A table inside a procedure, read at a run-time index, and its SIZE.
static int 32 squares[4] = {0, 1, 4, 9};

macro proc p (in_, out)
{
	int 32 i;

	in_ ? i;
	out ! squares[(unsigned 2)(i <- 2)];
	out ! 4;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (in_, out);
}
