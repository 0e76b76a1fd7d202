/* header */
/* board */

#include <stdlib.hch>

// Two procedures each with a constant n: the second gets a name of its own.
macro expr n = 3;

macro proc a (out)
{
	out ! n;
}

macro expr n_1 = 5;

macro proc b (out)
{
	a (out);
	out ! n_1;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	b (out);
}
